<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>Choices</name>
    <message>
        <source>Shapes</source>
        <translation>Formas</translation>
    </message>
    <message>
        <source>Brush</source>
        <translation>Pincel</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Borracha</translation>
    </message>
    <message>
        <source>Paint bucket</source>
        <translation>Balde de tinta</translation>
    </message>
    <message>
        <source>Magic wand</source>
        <translation>Varinha mágica</translation>
    </message>
    <message>
        <source>Spray can</source>
        <translation>Spray</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Estatísticas</translation>
    </message>
    <message>
        <source>The child&apos;s statistics</source>
        <translation>Estatísticas da criança</translation>
    </message>
    <message>
        <source>Coloring book</source>
        <translation>Livro de colorir</translation>
    </message>
    <message>
        <source>Choose a page</source>
        <translation>Escolha um desenho</translation>
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
        <translation>Médio</translation>
    </message>
    <message>
        <source>Little</source>
        <translation>Pequeno</translation>
    </message>
    <message>
        <source>Tiny</source>
        <translation>Pequenino</translation>
    </message>
    <message>
        <source>Snowflakes</source>
        <translation>Flocos</translation>
    </message>
    <message>
        <source>Leaves</source>
        <translation>Folhas</translation>
    </message>
    <message>
        <source>Flowers</source>
        <translation>Flores</translation>
    </message>
    <message>
        <source>Hearts</source>
        <translation>Corações</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Círculo</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Retângulo</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triângulo</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Linha</translation>
    </message>
    <message>
        <source>Diamond</source>
        <translation>Losango</translation>
    </message>
    <message>
        <source>Hexagon</source>
        <translation>Hexágono</translation>
    </message>
    <message>
        <source>Trapezoid</source>
        <translation>Trapézio</translation>
    </message>
    <message>
        <source>Fill up to the lines</source>
        <translation>Pintar até as linhas</translation>
    </message>
    <message>
        <source>More textures</source>
        <translation>Mais texturas</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Desfazer</translation>
    </message>
    <message>
        <source>Undo (Ctrl+Z)</source>
        <translation>Desfazer (Ctrl+Z)</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Refazer</translation>
    </message>
    <message>
        <source>Redo (Ctrl+Shift+Z)</source>
        <translation>Refazer (Ctrl+Shift+Z)</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Girar</translation>
    </message>
    <message>
        <source>Turn the page around</source>
        <translation>Virar o desenho</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Surpresa</translation>
    </message>
    <message>
        <source>Another page</source>
        <translation>Outro desenho</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Limpar</translation>
    </message>
    <message>
        <source>Start the page again</source>
        <translation>Começar o desenho de novo</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Vermelho</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Amarelo</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Laranja</translation>
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
        <translation>Azul-claro</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Preto</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Branco</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Cores do arco-íris</translation>
    </message>
</context>
<context>
    <name>Colors</name>
    <message>
        <source>Red</source>
        <translation>Vermelho</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Amarelo</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Laranja</translation>
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
        <translation>Azul-claro</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Preto</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Branco</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>About Pictaro</source>
        <translation>Sobre o Pictaro</translation>
    </message>
    <message>
        <source>A coloring book for small children.</source>
        <translation>Um livro de colorir para crianças pequenas.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Arquivo</translation>
    </message>
    <message>
        <source>Open coloring book...</source>
        <translation>Abrir desenho...</translation>
    </message>
    <message>
        <source>Add pages...</source>
        <translation>Adicionar desenhos...</translation>
    </message>
    <message>
        <source>Save coloring book...</source>
        <translation>Salvar desenho...</translation>
    </message>
    <message>
        <source>Open folder coloring book</source>
        <translation>Abrir a pasta de desenhos</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Opções...</translation>
    </message>
    <message>
        <source>Print coloring book...</source>
        <translation>Imprimir desenho...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Desfazer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Refazer</translation>
    </message>
    <message>
        <source>Children&apos;s works</source>
        <translation>Desenhos das crianças</translation>
    </message>
    <message>
        <source>Send my coloring book</source>
        <translation>Enviar meu desenho</translation>
    </message>
    <message>
        <source>View works of children</source>
        <translation>Ver os desenhos das crianças</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>Write to us</source>
        <translation>Escreva para nós</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Cores do arco-íris</translation>
    </message>
    <message>
        <source>Toddler</source>
        <translation>Pequenino</translation>
    </message>
    <message>
        <source>Kids</source>
        <translation>Crianças</translation>
    </message>
    <message>
        <source>Pictaro is starting. Just a moment...</source>
        <translation>O Pictaro está abrindo. Só um momento...</translation>
    </message>
    <message>
        <source>No coloring pages were found. You can get them on our site:</source>
        <translation>Nenhum desenho foi encontrado. Você pode pegar no nosso site:</translation>
    </message>
    <message>
        <source>Child&apos;s statistics:</source>
        <translation>Estatísticas da criança:</translation>
    </message>
    <message>
        <source>Full Statistics:</source>
        <translation>Estatísticas completas:</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>N.º</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Favorite coloring book</source>
        <translation>Desenho favorito</translation>
    </message>
    <message>
        <source>Favorite color</source>
        <translation>Cor favorita</translation>
    </message>
    <message>
        <source>Number of clicks</source>
        <translation>Número de cliques</translation>
    </message>
    <message>
        <source>My pages (%1)</source>
        <translation>Meus desenhos (%1)</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Informação</translation>
    </message>
    <message>
        <source>No coloring book!</source>
        <translation>Nenhum desenho!</translation>
    </message>
    <message>
        <source>Add pages</source>
        <translation>Adicionar desenhos</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Imagens</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) cannot be used as pages:</source>
        <translation>
            <numerusform>%n imagem não pode ser usada como página:</numerusform>
            <numerusform>%n imagens não podem ser usadas como páginas:</numerusform>
        </translation>
    </message>
    <message>
        <source>Open coloring book</source>
        <translation>Abrir desenho</translation>
    </message>
    <message>
        <source>Save coloring book</source>
        <translation>Salvar desenho</translation>
    </message>
    <message>
        <source>Bitmaps</source>
        <translation>Imagens BMP</translation>
    </message>
    <message>
        <source>PNG pictures, full colour</source>
        <translation>Imagens PNG, todas as cores</translation>
    </message>
    <message>
        <source>Your child</source>
        <translation>Seu filho</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Aviso</translation>
    </message>
    <message>
        <source>The picture could not be made.
Please try again; if it happens again, write to us.</source>
        <translation>Não foi possível criar a imagem.
Tente de novo; se acontecer outra vez, escreva para nós.</translation>
    </message>
    <message>
        <source>Child&apos;s name</source>
        <translation>Nome da criança</translation>
    </message>
    <message>
        <source>Child&apos;s age</source>
        <translation>Idade da criança</translation>
    </message>
    <message>
        <source>The picture is successfully loaded on the site.</source>
        <translation>O desenho foi enviado para o site.</translation>
    </message>
    <message>
        <source>Clicks counter: %1</source>
        <translation>Cliques: %1</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Agora</translation>
    </message>
    <message>
        <source>Favorite color: %1</source>
        <translation>Cor favorita: %1</translation>
    </message>
    <message>
        <source>Favorite coloring book: %1</source>
        <translation>Desenho favorito: %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Error loading to configuration file config.ini!</source>
        <translation>Não foi possível ler o arquivo de configuração config.ini!</translation>
    </message>
    <message>
        <source>Error writing to configuration file config.ini!</source>
        <translation>Não foi possível gravar o arquivo de configuração config.ini!</translation>
    </message>
    <message>
        <source>This picture cannot be read any more: %1</source>
        <translation>Este desenho não pode mais ser aberto: %1</translation>
    </message>
    <message>
        <source>My pictures</source>
        <translation>Meus desenhos</translation>
    </message>
    <message numerus="yes">
        <source>My pictures (%n)</source>
        <translation>
            <numerusform>Meus desenhos (%n)</numerusform>
            <numerusform>Meus desenhos (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Keep coloring</source>
        <translation>Continuar colorindo</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Salvar...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Imprimir...</translation>
    </message>
    <message>
        <source>Send to the gallery...</source>
        <translation>Enviar para a galeria...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Apagar</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Child mode (full screen, locked)</source>
        <translation>Modo infantil (tela cheia, bloqueado)</translation>
    </message>
    <message>
        <source>Program options</source>
        <translation>Opções do programa</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opções</translation>
    </message>
    <message>
        <source>Windows Maximized</source>
        <translation>Janela maximizada</translation>
    </message>
    <message>
        <source>Disable sound</source>
        <translation>Desligar o som</translation>
    </message>
    <message>
        <source>Outlines stay</source>
        <translation>Manter os contornos</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Idioma:</translation>
    </message>
    <message>
        <source>Desktop language</source>
        <translation>Idioma do sistema</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Pages remember their coloring</source>
        <translation>As páginas lembram a pintura</translation>
    </message>
</context>
<context>
    <name>ParentGate</name>
    <message>
        <source>zero</source>
        <translation>zero</translation>
    </message>
    <message>
        <source>one</source>
        <translation>um</translation>
    </message>
    <message>
        <source>two</source>
        <translation>dois</translation>
    </message>
    <message>
        <source>three</source>
        <translation>três</translation>
    </message>
    <message>
        <source>four</source>
        <translation>quatro</translation>
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
        <translation>sete</translation>
    </message>
    <message>
        <source>eight</source>
        <translation>oito</translation>
    </message>
    <message>
        <source>nine</source>
        <translation>nove</translation>
    </message>
</context>
<context>
    <name>PictaroApplication</name>
    <message>
        <source>Unknown error.</source>
        <translation>Erro desconhecido.</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Loading...</source>
        <translation>Carregando...</translation>
    </message>
    <message>
        <source>Wait a few seconds</source>
        <translation>Espere alguns segundos</translation>
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
        <translation>Adultos: apertem os números
%1</translation>
    </message>
    <message>
        <source>Back to coloring</source>
        <translation>Voltar a colorir</translation>
    </message>
    <message>
        <source>Not quite: try again from where you were.</source>
        <translation>Quase: continuem de onde pararam.</translation>
    </message>
</context>
</TS>
