<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>Choices</name>
    <message>
        <source>Shapes</source>
        <translation>Figuras</translation>
    </message>
    <message>
        <source>Brush</source>
        <translation>Pincel</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Goma</translation>
    </message>
    <message>
        <source>Paint bucket</source>
        <translation>Bote de pintura</translation>
    </message>
    <message>
        <source>Magic wand</source>
        <translation>Varita mágica</translation>
    </message>
    <message>
        <source>Spray can</source>
        <translation>Aerosol</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Estadísticas</translation>
    </message>
    <message>
        <source>The child&apos;s statistics</source>
        <translation>Estadísticas del niño</translation>
    </message>
    <message>
        <source>Coloring book</source>
        <translation>Para colorear</translation>
    </message>
    <message>
        <source>Choose a page</source>
        <translation>Elige un dibujo</translation>
    </message>
    <message>
        <source>Huge</source>
        <translation>Enorme</translation>
    </message>
    <message>
        <source>Big</source>
        <translation>Grande</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mediano</translation>
    </message>
    <message>
        <source>Little</source>
        <translation>Pequeño</translation>
    </message>
    <message>
        <source>Tiny</source>
        <translation>Diminuto</translation>
    </message>
    <message>
        <source>Snowflakes</source>
        <translation>Copos</translation>
    </message>
    <message>
        <source>Leaves</source>
        <translation>Hojas</translation>
    </message>
    <message>
        <source>Flowers</source>
        <translation>Flores</translation>
    </message>
    <message>
        <source>Hearts</source>
        <translation>Corazones</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Círculo</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rectángulo</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triángulo</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Línea</translation>
    </message>
    <message>
        <source>Diamond</source>
        <translation>Rombo</translation>
    </message>
    <message>
        <source>Hexagon</source>
        <translation>Hexágono</translation>
    </message>
    <message>
        <source>Trapezoid</source>
        <translation>Trapecio</translation>
    </message>
    <message>
        <source>Fill up to the lines</source>
        <translation>Rellenar hasta las líneas</translation>
    </message>
    <message>
        <source>More textures</source>
        <translation>Más texturas</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Undo (Ctrl+Z)</source>
        <translation>Deshacer (Ctrl+Z)</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Redo (Ctrl+Shift+Z)</source>
        <translation>Rehacer (Ctrl+Mayús+Z)</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Girar</translation>
    </message>
    <message>
        <source>Turn the page around</source>
        <translation>Dar la vuelta al dibujo</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Al azar</translation>
    </message>
    <message>
        <source>Another page</source>
        <translation>Otro dibujo</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Start the page again</source>
        <translation>Empezar el dibujo de nuevo</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rojo</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Amarillo</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Naranja</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Verde</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Azul</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Celeste</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Negro</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Blanco</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Colores del arcoíris</translation>
    </message>
</context>
<context>
    <name>Colors</name>
    <message>
        <source>Red</source>
        <translation>Rojo</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Amarillo</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Naranja</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Verde</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Azul</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Celeste</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Negro</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Blanco</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>About Pictaro</source>
        <translation>Acerca de Pictaro</translation>
    </message>
    <message>
        <source>A coloring book for small children.</source>
        <translation>Un libro para colorear para niños pequeños.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Open coloring book...</source>
        <translation>Abrir un dibujo...</translation>
    </message>
    <message>
        <source>Add pages...</source>
        <translation>Añadir dibujos...</translation>
    </message>
    <message>
        <source>Save coloring book...</source>
        <translation>Guardar el dibujo...</translation>
    </message>
    <message>
        <source>Open folder coloring book</source>
        <translation>Abrir la carpeta de dibujos</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Opciones...</translation>
    </message>
    <message>
        <source>Print coloring book...</source>
        <translation>Imprimir el dibujo...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Children&apos;s works</source>
        <translation>Dibujos de niños</translation>
    </message>
    <message>
        <source>Send my coloring book</source>
        <translation>Enviar mi dibujo</translation>
    </message>
    <message>
        <source>View works of children</source>
        <translation>Ver los dibujos de los niños</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Write to us</source>
        <translation>Escríbenos</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Colores del arcoíris</translation>
    </message>
    <message>
        <source>Toddler</source>
        <translation>Peque</translation>
    </message>
    <message>
        <source>Kids</source>
        <translation>Niños</translation>
    </message>
    <message>
        <source>Pictaro is starting. Just a moment...</source>
        <translation>Pictaro se está abriendo. Un momento...</translation>
    </message>
    <message>
        <source>No coloring pages were found. You can get them on our site:</source>
        <translation>No se encontraron dibujos. Puedes conseguirlos en nuestra web:</translation>
    </message>
    <message>
        <source>Child&apos;s statistics:</source>
        <translation>Estadísticas del niño:</translation>
    </message>
    <message>
        <source>Full Statistics:</source>
        <translation>Estadísticas completas:</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>N.º</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>Favorite coloring book</source>
        <translation>Dibujo favorito</translation>
    </message>
    <message>
        <source>Favorite color</source>
        <translation>Color favorito</translation>
    </message>
    <message>
        <source>Number of clicks</source>
        <translation>Número de clics</translation>
    </message>
    <message>
        <source>My pages (%1)</source>
        <translation>Mis dibujos (%1)</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>No coloring book!</source>
        <translation>¡No hay ningún dibujo!</translation>
    </message>
    <message>
        <source>Add pages</source>
        <translation>Añadir dibujos</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Imágenes</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) cannot be used as pages:</source>
        <translation>
            <numerusform>%n imagen no se puede usar como página:</numerusform>
            <numerusform>%n imágenes no se pueden usar como páginas:</numerusform>
        </translation>
    </message>
    <message>
        <source>Open coloring book</source>
        <translation>Abrir un dibujo</translation>
    </message>
    <message>
        <source>Save coloring book</source>
        <translation>Guardar el dibujo</translation>
    </message>
    <message>
        <source>Bitmaps</source>
        <translation>Imágenes BMP</translation>
    </message>
    <message>
        <source>PNG pictures, full colour</source>
        <translation>Imágenes PNG, todos los colores</translation>
    </message>
    <message>
        <source>Your child</source>
        <translation>Su hijo</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>The picture could not be made.
Please try again; if it happens again, write to us.</source>
        <translation>No se pudo crear la imagen.
Inténtelo de nuevo; si vuelve a pasar, escríbanos.</translation>
    </message>
    <message>
        <source>Child&apos;s name</source>
        <translation>Nombre del niño</translation>
    </message>
    <message>
        <source>Child&apos;s age</source>
        <translation>Edad del niño</translation>
    </message>
    <message>
        <source>The picture is successfully loaded on the site.</source>
        <translation>El dibujo se ha subido a la web.</translation>
    </message>
    <message>
        <source>Clicks counter: %1</source>
        <translation>Clics: %1</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Ahora</translation>
    </message>
    <message>
        <source>Favorite color: %1</source>
        <translation>Color favorito: %1</translation>
    </message>
    <message>
        <source>Favorite coloring book: %1</source>
        <translation>Dibujo favorito: %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Error loading to configuration file config.ini!</source>
        <translation>¡No se pudo leer el archivo de configuración config.ini!</translation>
    </message>
    <message>
        <source>Error writing to configuration file config.ini!</source>
        <translation>¡No se pudo guardar el archivo de configuración config.ini!</translation>
    </message>
    <message>
        <source>This picture cannot be read any more: %1</source>
        <translation>Este dibujo ya no se puede abrir: %1</translation>
    </message>
    <message>
        <source>My pictures</source>
        <translation>Mis dibujos</translation>
    </message>
    <message numerus="yes">
        <source>My pictures (%n)</source>
        <translation>
            <numerusform>Mis dibujos (%n)</numerusform>
            <numerusform>Mis dibujos (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Keep coloring</source>
        <translation>Seguir coloreando</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Guardar...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Imprimir...</translation>
    </message>
    <message>
        <source>Send to the gallery...</source>
        <translation>Enviar a la galería...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Borrar</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Child mode (full screen, locked)</source>
        <translation>Modo infantil (pantalla completa, bloqueado)</translation>
    </message>
    <message>
        <source>Program options</source>
        <translation>Opciones del programa</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Windows Maximized</source>
        <translation>Ventana maximizada</translation>
    </message>
    <message>
        <source>Disable sound</source>
        <translation>Quitar el sonido</translation>
    </message>
    <message>
        <source>Outlines stay</source>
        <translation>Mantener los contornos</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Idioma:</translation>
    </message>
    <message>
        <source>Desktop language</source>
        <translation>Idioma del sistema</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Pages remember their coloring</source>
        <translation>Las páginas recuerdan sus colores</translation>
    </message>
</context>
<context>
    <name>ParentGate</name>
    <message>
        <source>zero</source>
        <translation>cero</translation>
    </message>
    <message>
        <source>one</source>
        <translation>uno</translation>
    </message>
    <message>
        <source>two</source>
        <translation>dos</translation>
    </message>
    <message>
        <source>three</source>
        <translation>tres</translation>
    </message>
    <message>
        <source>four</source>
        <translation>cuatro</translation>
    </message>
    <message>
        <source>five</source>
        <translation>cinco</translation>
    </message>
    <message>
        <source>six</source>
        <translation>seis</translation>
    </message>
    <message>
        <source>seven</source>
        <translation>siete</translation>
    </message>
    <message>
        <source>eight</source>
        <translation>ocho</translation>
    </message>
    <message>
        <source>nine</source>
        <translation>nueve</translation>
    </message>
</context>
<context>
    <name>PictaroApplication</name>
    <message>
        <source>Unknown error.</source>
        <translation>Error desconocido.</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Loading...</source>
        <translation>Cargando...</translation>
    </message>
    <message>
        <source>Wait a few seconds</source>
        <translation>Espera unos segundos</translation>
    </message>
</context>
<context>
    <name>TFm_ParentGate</name>
    <message>
        <source>For grown-ups</source>
        <translation>Para adultos</translation>
    </message>
    <message>
        <source>Grown-ups: press the numbers
%1</source>
        <translation>Adultos: pulsen los números
%1</translation>
    </message>
    <message>
        <source>Back to coloring</source>
        <translation>Volver a colorear</translation>
    </message>
    <message>
        <source>Not quite: try again from where you were.</source>
        <translation>Casi: sigan desde donde iban.</translation>
    </message>
</context>
</TS>
