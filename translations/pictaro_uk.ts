<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk">
<context>
    <name>Choices</name>
    <message>
        <source>Shapes</source>
        <translation>Фігури</translation>
    </message>
    <message>
        <source>Brush</source>
        <translation>Пензлик</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Гумка</translation>
    </message>
    <message>
        <source>Paint bucket</source>
        <translation>Заливка</translation>
    </message>
    <message>
        <source>Magic wand</source>
        <translation>Чарівна паличка</translation>
    </message>
    <message>
        <source>Spray can</source>
        <translation>Балончик</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Статистика</translation>
    </message>
    <message>
        <source>The child&apos;s statistics</source>
        <translation>Статистика дитини</translation>
    </message>
    <message>
        <source>Coloring book</source>
        <translation>Розмальовка</translation>
    </message>
    <message>
        <source>Choose a page</source>
        <translation>Обери малюнок</translation>
    </message>
    <message>
        <source>Huge</source>
        <translation>Величезний</translation>
    </message>
    <message>
        <source>Big</source>
        <translation>Великий</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Середній</translation>
    </message>
    <message>
        <source>Little</source>
        <translation>Маленький</translation>
    </message>
    <message>
        <source>Tiny</source>
        <translation>Крихітний</translation>
    </message>
    <message>
        <source>Snowflakes</source>
        <translation>Сніжинки</translation>
    </message>
    <message>
        <source>Leaves</source>
        <translation>Листочки</translation>
    </message>
    <message>
        <source>Flowers</source>
        <translation>Квіточки</translation>
    </message>
    <message>
        <source>Hearts</source>
        <translation>Сердечка</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Коло</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Прямокутник</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Трикутник</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Лінія</translation>
    </message>
    <message>
        <source>Diamond</source>
        <translation>Ромб</translation>
    </message>
    <message>
        <source>Hexagon</source>
        <translation>Шестикутник</translation>
    </message>
    <message>
        <source>Trapezoid</source>
        <translation>Трапеція</translation>
    </message>
    <message>
        <source>Fill up to the lines</source>
        <translation>Залити до ліній</translation>
    </message>
    <message>
        <source>More textures</source>
        <translation>Ще візерунки</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Скасувати</translation>
    </message>
    <message>
        <source>Undo (Ctrl+Z)</source>
        <translation>Скасувати (Ctrl+Z)</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторити</translation>
    </message>
    <message>
        <source>Redo (Ctrl+Shift+Z)</source>
        <translation>Повторити (Ctrl+Shift+Z)</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Повернути</translation>
    </message>
    <message>
        <source>Turn the page around</source>
        <translation>Перевернути малюнок</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Навмання</translation>
    </message>
    <message>
        <source>Another page</source>
        <translation>Інший малюнок</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Очистити</translation>
    </message>
    <message>
        <source>Start the page again</source>
        <translation>Почати малюнок знову</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Червоний</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Жовтий</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Помаранчевий</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Зелений</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Синій</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Блакитний</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Чорний</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Білий</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Кольори веселки</translation>
    </message>
</context>
<context>
    <name>Colors</name>
    <message>
        <source>Red</source>
        <translation>Червоний</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Жовтий</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Помаранчевий</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Зелений</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Синій</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Блакитний</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Чорний</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Білий</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>About Pictaro</source>
        <translation>Про Pictaro</translation>
    </message>
    <message>
        <source>A coloring book for small children.</source>
        <translation>Розмальовка для малечі.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Open coloring book...</source>
        <translation>Відкрити розмальовку...</translation>
    </message>
    <message>
        <source>Add pages...</source>
        <translation>Додати малюнки...</translation>
    </message>
    <message>
        <source>Save coloring book...</source>
        <translation>Зберегти розмальовку...</translation>
    </message>
    <message>
        <source>Open folder coloring book</source>
        <translation>Відкрити теку з розмальовками</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Налаштування...</translation>
    </message>
    <message>
        <source>Print coloring book...</source>
        <translation>Друкувати розмальовку...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Вихід</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Редагування</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Скасувати</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторити</translation>
    </message>
    <message>
        <source>Children&apos;s works</source>
        <translation>Дитячі роботи</translation>
    </message>
    <message>
        <source>Send my coloring book</source>
        <translation>Надіслати мою розмальовку</translation>
    </message>
    <message>
        <source>View works of children</source>
        <translation>Переглянути роботи дітей</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Довідка</translation>
    </message>
    <message>
        <source>Write to us</source>
        <translation>Написати нам</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Кольори веселки</translation>
    </message>
    <message>
        <source>Toddler</source>
        <translation>Малюк</translation>
    </message>
    <message>
        <source>Kids</source>
        <translation>Діти</translation>
    </message>
    <message>
        <source>Pictaro is starting. Just a moment...</source>
        <translation>Pictaro запускається. Хвилинку...</translation>
    </message>
    <message>
        <source>No coloring pages were found. You can get them on our site:</source>
        <translation>Розмальовок не знайдено. Їх можна взяти на нашому сайті:</translation>
    </message>
    <message>
        <source>Child&apos;s statistics:</source>
        <translation>Статистика дитини:</translation>
    </message>
    <message>
        <source>Full Statistics:</source>
        <translation>Повна статистика:</translation>
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
        <translation>Улюблена розмальовка</translation>
    </message>
    <message>
        <source>Favorite color</source>
        <translation>Улюблений колір</translation>
    </message>
    <message>
        <source>Number of clicks</source>
        <translation>Кількість натискань</translation>
    </message>
    <message>
        <source>My pages (%1)</source>
        <translation>Мої малюнки (%1)</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Інформація</translation>
    </message>
    <message>
        <source>No coloring book!</source>
        <translation>Немає розмальовки!</translation>
    </message>
    <message>
        <source>Add pages</source>
        <translation>Додати малюнки</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Зображення</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) cannot be used as pages:</source>
        <translation>
            <numerusform>%n малюнок не можна взяти як сторінку:</numerusform>
            <numerusform>%n малюнки не можна взяти як сторінки:</numerusform>
            <numerusform>%n малюнків не можна взяти як сторінки:</numerusform>
        </translation>
    </message>
    <message>
        <source>Open coloring book</source>
        <translation>Відкрити розмальовку</translation>
    </message>
    <message>
        <source>Save coloring book</source>
        <translation>Зберегти розмальовку</translation>
    </message>
    <message>
        <source>Bitmaps</source>
        <translation>Малюнки BMP</translation>
    </message>
    <message>
        <source>PNG pictures, full colour</source>
        <translation>Зображення PNG, усі кольори</translation>
    </message>
    <message>
        <source>Your child</source>
        <translation>Ваша дитина</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Попередження</translation>
    </message>
    <message>
        <source>The picture could not be made.
Please try again; if it happens again, write to us.</source>
        <translation>Не вдалося створити малюнок.
Спробуйте ще раз; якщо знову не вийде, напишіть нам.</translation>
    </message>
    <message>
        <source>Child&apos;s name</source>
        <translation>Ім’я дитини</translation>
    </message>
    <message>
        <source>Child&apos;s age</source>
        <translation>Вік дитини</translation>
    </message>
    <message>
        <source>The picture is successfully loaded on the site.</source>
        <translation>Малюнок надіслано на сайт.</translation>
    </message>
    <message>
        <source>Clicks counter: %1</source>
        <translation>Натискань: %1</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Зараз</translation>
    </message>
    <message>
        <source>Favorite color: %1</source>
        <translation>Улюблений колір: %1</translation>
    </message>
    <message>
        <source>Favorite coloring book: %1</source>
        <translation>Улюблена розмальовка: %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Помилка</translation>
    </message>
    <message>
        <source>Error loading to configuration file config.ini!</source>
        <translation>Не вдалося прочитати файл налаштувань config.ini!</translation>
    </message>
    <message>
        <source>Error writing to configuration file config.ini!</source>
        <translation>Не вдалося записати файл налаштувань config.ini!</translation>
    </message>
    <message>
        <source>This picture cannot be read any more: %1</source>
        <translation>Цей малюнок більше не вдається відкрити: %1</translation>
    </message>
    <message>
        <source>My pictures</source>
        <translation>Мої малюнки</translation>
    </message>
    <message numerus="yes">
        <source>My pictures (%n)</source>
        <translation>
            <numerusform>Мої малюнки (%n)</numerusform>
            <numerusform>Мої малюнки (%n)</numerusform>
            <numerusform>Мої малюнки (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Keep coloring</source>
        <translation>Малювати далі</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Зберегти...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Друк...</translation>
    </message>
    <message>
        <source>Send to the gallery...</source>
        <translation>Надіслати до галереї...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Видалити</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Child mode (full screen, locked)</source>
        <translation>Дитячий режим (весь екран, заблоковано)</translation>
    </message>
    <message>
        <source>Program options</source>
        <translation>Налаштування програми</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Налаштування</translation>
    </message>
    <message>
        <source>Windows Maximized</source>
        <translation>Вікно на весь екран</translation>
    </message>
    <message>
        <source>Disable sound</source>
        <translation>Вимкнути звук</translation>
    </message>
    <message>
        <source>Outlines stay</source>
        <translation>Не зафарбовувати контури</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Мова:</translation>
    </message>
    <message>
        <source>Desktop language</source>
        <translation>Мова системи</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Гаразд</translation>
    </message>
    <message>
        <source>Pages remember their coloring</source>
        <translation>Сторінки пам&apos;ятають розфарбування</translation>
    </message>
</context>
<context>
    <name>ParentGate</name>
    <message>
        <source>zero</source>
        <translation>нуль</translation>
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
        <translation>чотири</translation>
    </message>
    <message>
        <source>five</source>
        <translation>п’ять</translation>
    </message>
    <message>
        <source>six</source>
        <translation>шість</translation>
    </message>
    <message>
        <source>seven</source>
        <translation>сім</translation>
    </message>
    <message>
        <source>eight</source>
        <translation>вісім</translation>
    </message>
    <message>
        <source>nine</source>
        <translation>дев’ять</translation>
    </message>
</context>
<context>
    <name>PictaroApplication</name>
    <message>
        <source>Unknown error.</source>
        <translation>Невідома помилка.</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Loading...</source>
        <translation>Завантаження...</translation>
    </message>
    <message>
        <source>Wait a few seconds</source>
        <translation>Зачекайте кілька секунд</translation>
    </message>
</context>
<context>
    <name>TFm_ParentGate</name>
    <message>
        <source>For grown-ups</source>
        <translation>Для дорослих</translation>
    </message>
    <message>
        <source>Grown-ups: press the numbers
%1</source>
        <translation>Дорослим: натисніть цифри
%1</translation>
    </message>
    <message>
        <source>Back to coloring</source>
        <translation>Повернутися до розмальовки</translation>
    </message>
    <message>
        <source>Not quite: try again from where you were.</source>
        <translation>Не зовсім так: продовжте з того місця, де були.</translation>
    </message>
</context>
</TS>
