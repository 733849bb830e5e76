<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>Choices</name>
    <message>
        <source>Shapes</source>
        <translation>Фигуры</translation>
    </message>
    <message>
        <source>Brush</source>
        <translation>Кисточка</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Ластик</translation>
    </message>
    <message>
        <source>Paint bucket</source>
        <translation>Заливка</translation>
    </message>
    <message>
        <source>Magic wand</source>
        <translation>Волшебная палочка</translation>
    </message>
    <message>
        <source>Spray can</source>
        <translation>Баллончик</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Статистика</translation>
    </message>
    <message>
        <source>The child&apos;s statistics</source>
        <translation>Статистика ребёнка</translation>
    </message>
    <message>
        <source>Coloring book</source>
        <translation>Раскраска</translation>
    </message>
    <message>
        <source>Choose a page</source>
        <translation>Выбери картинку</translation>
    </message>
    <message>
        <source>Huge</source>
        <translation>Огромная</translation>
    </message>
    <message>
        <source>Big</source>
        <translation>Большая</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Средняя</translation>
    </message>
    <message>
        <source>Little</source>
        <translation>Маленькая</translation>
    </message>
    <message>
        <source>Tiny</source>
        <translation>Крошечная</translation>
    </message>
    <message>
        <source>Snowflakes</source>
        <translation>Снежинки</translation>
    </message>
    <message>
        <source>Leaves</source>
        <translation>Листочки</translation>
    </message>
    <message>
        <source>Flowers</source>
        <translation>Цветочки</translation>
    </message>
    <message>
        <source>Hearts</source>
        <translation>Сердечки</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Круг</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Прямоугольник</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Треугольник</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Линия</translation>
    </message>
    <message>
        <source>Diamond</source>
        <translation>Ромб</translation>
    </message>
    <message>
        <source>Hexagon</source>
        <translation>Шестиугольник</translation>
    </message>
    <message>
        <source>Trapezoid</source>
        <translation>Трапеция</translation>
    </message>
    <message>
        <source>Fill up to the lines</source>
        <translation>Залить до линий</translation>
    </message>
    <message>
        <source>More textures</source>
        <translation>Ещё узоры</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Undo (Ctrl+Z)</source>
        <translation>Отменить (Ctrl+Z)</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Вернуть</translation>
    </message>
    <message>
        <source>Redo (Ctrl+Shift+Z)</source>
        <translation>Вернуть (Ctrl+Shift+Z)</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Повернуть</translation>
    </message>
    <message>
        <source>Turn the page around</source>
        <translation>Перевернуть картинку</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Случайная</translation>
    </message>
    <message>
        <source>Another page</source>
        <translation>Другая картинка</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>Start the page again</source>
        <translation>Начать картинку заново</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Красный</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Жёлтый</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Оранжевый</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Зелёный</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Синий</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Голубой</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Чёрный</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Белый</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Цвета радуги</translation>
    </message>
</context>
<context>
    <name>Colors</name>
    <message>
        <source>Red</source>
        <translation>Красный</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Жёлтый</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Оранжевый</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Зелёный</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Синий</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Голубой</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Чёрный</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Белый</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>About Pictaro</source>
        <translation>О программе Pictaro</translation>
    </message>
    <message>
        <source>A coloring book for small children.</source>
        <translation>Раскраска для маленьких детей.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Open coloring book...</source>
        <translation>Открыть раскраску...</translation>
    </message>
    <message>
        <source>Add pages...</source>
        <translation>Добавить картинки...</translation>
    </message>
    <message>
        <source>Save coloring book...</source>
        <translation>Сохранить раскраску...</translation>
    </message>
    <message>
        <source>Open folder coloring book</source>
        <translation>Открыть папку с раскрасками</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Настройки...</translation>
    </message>
    <message>
        <source>Print coloring book...</source>
        <translation>Печать раскраски...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Правка</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Вернуть</translation>
    </message>
    <message>
        <source>Children&apos;s works</source>
        <translation>Детские работы</translation>
    </message>
    <message>
        <source>Send my coloring book</source>
        <translation>Отправить мою раскраску</translation>
    </message>
    <message>
        <source>View works of children</source>
        <translation>Посмотреть работы детей</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Write to us</source>
        <translation>Написать нам</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Цвета радуги</translation>
    </message>
    <message>
        <source>Toddler</source>
        <translation>Малыш</translation>
    </message>
    <message>
        <source>Kids</source>
        <translation>Дети</translation>
    </message>
    <message>
        <source>Pictaro is starting. Just a moment...</source>
        <translation>Pictaro запускается. Минутку...</translation>
    </message>
    <message>
        <source>No coloring pages were found. You can get them on our site:</source>
        <translation>Раскраски не найдены. Их можно взять на нашем сайте:</translation>
    </message>
    <message>
        <source>Child&apos;s statistics:</source>
        <translation>Статистика ребёнка:</translation>
    </message>
    <message>
        <source>Full Statistics:</source>
        <translation>Полная статистика:</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Favorite coloring book</source>
        <translation>Любимая раскраска</translation>
    </message>
    <message>
        <source>Favorite color</source>
        <translation>Любимый цвет</translation>
    </message>
    <message>
        <source>Number of clicks</source>
        <translation>Число нажатий</translation>
    </message>
    <message>
        <source>My pages (%1)</source>
        <translation>Мои картинки (%1)</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Информация</translation>
    </message>
    <message>
        <source>No coloring book!</source>
        <translation>Нет раскраски!</translation>
    </message>
    <message>
        <source>Add pages</source>
        <translation>Добавить картинки</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Картинки</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) cannot be used as pages:</source>
        <translation>
            <numerusform>%n картинку нельзя взять как страницу:</numerusform>
            <numerusform>%n картинки нельзя взять как страницы:</numerusform>
            <numerusform>%n картинок нельзя взять как страницы:</numerusform>
        </translation>
    </message>
    <message>
        <source>Open coloring book</source>
        <translation>Открыть раскраску</translation>
    </message>
    <message>
        <source>Save coloring book</source>
        <translation>Сохранить раскраску</translation>
    </message>
    <message>
        <source>Bitmaps</source>
        <translation>Рисунки BMP</translation>
    </message>
    <message>
        <source>PNG pictures, full colour</source>
        <translation>Картинки PNG, все цвета</translation>
    </message>
    <message>
        <source>Your child</source>
        <translation>Ваш ребёнок</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <source>The picture could not be made.
Please try again; if it happens again, write to us.</source>
        <translation>Не удалось сделать картинку.
Попробуйте ещё раз; если не выйдет снова, напишите нам.</translation>
    </message>
    <message>
        <source>Child&apos;s name</source>
        <translation>Имя ребёнка</translation>
    </message>
    <message>
        <source>Child&apos;s age</source>
        <translation>Возраст ребёнка</translation>
    </message>
    <message>
        <source>The picture is successfully loaded on the site.</source>
        <translation>Картинка отправлена на сайт.</translation>
    </message>
    <message>
        <source>Clicks counter: %1</source>
        <translation>Нажатий: %1</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Сейчас</translation>
    </message>
    <message>
        <source>Favorite color: %1</source>
        <translation>Любимый цвет: %1</translation>
    </message>
    <message>
        <source>Favorite coloring book: %1</source>
        <translation>Любимая раскраска: %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Error loading to configuration file config.ini!</source>
        <translation>Не удалось прочитать файл настроек config.ini!</translation>
    </message>
    <message>
        <source>Error writing to configuration file config.ini!</source>
        <translation>Не удалось записать файл настроек config.ini!</translation>
    </message>
    <message>
        <source>This picture cannot be read any more: %1</source>
        <translation>Эту картинку больше не получается открыть: %1</translation>
    </message>
    <message>
        <source>My pictures</source>
        <translation>Мои рисунки</translation>
    </message>
    <message numerus="yes">
        <source>My pictures (%n)</source>
        <translation>
            <numerusform>Мои рисунки (%n)</numerusform>
            <numerusform>Мои рисунки (%n)</numerusform>
            <numerusform>Мои рисунки (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Keep coloring</source>
        <translation>Рисовать дальше</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Сохранить...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Печать...</translation>
    </message>
    <message>
        <source>Send to the gallery...</source>
        <translation>Отправить в галерею...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Удалить</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Child mode (full screen, locked)</source>
        <translation>Детский режим (весь экран, заблокирован)</translation>
    </message>
    <message>
        <source>Program options</source>
        <translation>Настройки программы</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Windows Maximized</source>
        <translation>Окно во весь экран</translation>
    </message>
    <message>
        <source>Disable sound</source>
        <translation>Выключить звук</translation>
    </message>
    <message>
        <source>Outlines stay</source>
        <translation>Не закрашивать контуры</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Язык:</translation>
    </message>
    <message>
        <source>Desktop language</source>
        <translation>Язык системы</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Pages remember their coloring</source>
        <translation>Картинки помнят раскраску</translation>
    </message>
</context>
<context>
    <name>ParentGate</name>
    <message>
        <source>zero</source>
        <translation>ноль</translation>
    </message>
    <message>
        <source>one</source>
        <translation>один</translation>
    </message>
    <message>
        <source>two</source>
        <translation>два</translation>
    </message>
    <message>
        <source>three</source>
        <translation>три</translation>
    </message>
    <message>
        <source>four</source>
        <translation>четыре</translation>
    </message>
    <message>
        <source>five</source>
        <translation>пять</translation>
    </message>
    <message>
        <source>six</source>
        <translation>шесть</translation>
    </message>
    <message>
        <source>seven</source>
        <translation>семь</translation>
    </message>
    <message>
        <source>eight</source>
        <translation>восемь</translation>
    </message>
    <message>
        <source>nine</source>
        <translation>девять</translation>
    </message>
</context>
<context>
    <name>PictaroApplication</name>
    <message>
        <source>Unknown error.</source>
        <translation>Неизвестная ошибка.</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Loading...</source>
        <translation>Загрузка...</translation>
    </message>
    <message>
        <source>Wait a few seconds</source>
        <translation>Подождите несколько секунд</translation>
    </message>
</context>
<context>
    <name>TFm_ParentGate</name>
    <message>
        <source>For grown-ups</source>
        <translation>Для взрослых</translation>
    </message>
    <message>
        <source>Grown-ups: press the numbers
%1</source>
        <translation>Взрослым: нажмите цифры
%1</translation>
    </message>
    <message>
        <source>Back to coloring</source>
        <translation>Вернуться к раскраске</translation>
    </message>
    <message>
        <source>Not quite: try again from where you were.</source>
        <translation>Не совсем так: продолжите с того места, где были.</translation>
    </message>
</context>
</TS>
