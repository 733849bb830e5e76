<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Choices</name>
    <message>
        <source>Shapes</source>
        <translation>Formes</translation>
    </message>
    <message>
        <source>Brush</source>
        <translation>Pinceau</translation>
    </message>
    <message>
        <source>Eraser</source>
        <translation>Gomme</translation>
    </message>
    <message>
        <source>Paint bucket</source>
        <translation>Pot de peinture</translation>
    </message>
    <message>
        <source>Magic wand</source>
        <translation>Baguette magique</translation>
    </message>
    <message>
        <source>Spray can</source>
        <translation>Bombe de peinture</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistiques</translation>
    </message>
    <message>
        <source>The child&apos;s statistics</source>
        <translation>Statistiques de l&apos;enfant</translation>
    </message>
    <message>
        <source>Coloring book</source>
        <translation>Coloriage</translation>
    </message>
    <message>
        <source>Choose a page</source>
        <translation>Choisis un dessin</translation>
    </message>
    <message>
        <source>Huge</source>
        <translation>Énorme</translation>
    </message>
    <message>
        <source>Big</source>
        <translation>Gros</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Moyen</translation>
    </message>
    <message>
        <source>Little</source>
        <translation>Petit</translation>
    </message>
    <message>
        <source>Tiny</source>
        <translation>Minuscule</translation>
    </message>
    <message>
        <source>Snowflakes</source>
        <translation>Flocons</translation>
    </message>
    <message>
        <source>Leaves</source>
        <translation>Feuilles</translation>
    </message>
    <message>
        <source>Flowers</source>
        <translation>Fleurs</translation>
    </message>
    <message>
        <source>Hearts</source>
        <translation>Cœurs</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Cercle</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Diamond</source>
        <translation>Losange</translation>
    </message>
    <message>
        <source>Hexagon</source>
        <translation>Hexagone</translation>
    </message>
    <message>
        <source>Trapezoid</source>
        <translation>Trapèze</translation>
    </message>
    <message>
        <source>Fill up to the lines</source>
        <translation>Remplir jusqu&apos;aux traits</translation>
    </message>
    <message>
        <source>More textures</source>
        <translation>Plus de motifs</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Undo (Ctrl+Z)</source>
        <translation>Annuler (Ctrl+Z)</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Redo (Ctrl+Shift+Z)</source>
        <translation>Rétablir (Ctrl+Maj+Z)</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Tourner</translation>
    </message>
    <message>
        <source>Turn the page around</source>
        <translation>Retourner le dessin</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Au hasard</translation>
    </message>
    <message>
        <source>Another page</source>
        <translation>Un autre dessin</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Start the page again</source>
        <translation>Recommencer le dessin</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rouge</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Jaune</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Vert</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Bleu</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Bleu clair</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Noir</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Blanc</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Couleurs de l&apos;arc-en-ciel</translation>
    </message>
</context>
<context>
    <name>Colors</name>
    <message>
        <source>Red</source>
        <translation>Rouge</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Jaune</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Vert</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Bleu</translation>
    </message>
    <message>
        <source>Light blue</source>
        <translation>Bleu clair</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Noir</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Blanc</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>About Pictaro</source>
        <translation>À propos de Pictaro</translation>
    </message>
    <message>
        <source>A coloring book for small children.</source>
        <translation>Un cahier de coloriage pour les petits.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Open coloring book...</source>
        <translation>Ouvrir un coloriage...</translation>
    </message>
    <message>
        <source>Add pages...</source>
        <translation>Ajouter des dessins...</translation>
    </message>
    <message>
        <source>Save coloring book...</source>
        <translation>Enregistrer le coloriage...</translation>
    </message>
    <message>
        <source>Open folder coloring book</source>
        <translation>Ouvrir le dossier des coloriages</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>Print coloring book...</source>
        <translation>Imprimer le coloriage...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Édition</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Children&apos;s works</source>
        <translation>Dessins des enfants</translation>
    </message>
    <message>
        <source>Send my coloring book</source>
        <translation>Envoyer mon coloriage</translation>
    </message>
    <message>
        <source>View works of children</source>
        <translation>Voir les dessins des enfants</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Write to us</source>
        <translation>Nous écrire</translation>
    </message>
    <message>
        <source>Rainbow colors</source>
        <translation>Couleurs de l&apos;arc-en-ciel</translation>
    </message>
    <message>
        <source>Toddler</source>
        <translation>Tout-petit</translation>
    </message>
    <message>
        <source>Kids</source>
        <translation>Enfants</translation>
    </message>
    <message>
        <source>Pictaro is starting. Just a moment...</source>
        <translation>Pictaro démarre. Un instant...</translation>
    </message>
    <message>
        <source>No coloring pages were found. You can get them on our site:</source>
        <translation>Aucun coloriage trouvé. Vous en trouverez sur notre site :</translation>
    </message>
    <message>
        <source>Child&apos;s statistics:</source>
        <translation>Statistiques de l&apos;enfant :</translation>
    </message>
    <message>
        <source>Full Statistics:</source>
        <translation>Statistiques complètes :</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>N°</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Favorite coloring book</source>
        <translation>Coloriage préféré</translation>
    </message>
    <message>
        <source>Favorite color</source>
        <translation>Couleur préférée</translation>
    </message>
    <message>
        <source>Number of clicks</source>
        <translation>Nombre de clics</translation>
    </message>
    <message>
        <source>My pages (%1)</source>
        <translation>Mes dessins (%1)</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>No coloring book!</source>
        <translation>Aucun coloriage !</translation>
    </message>
    <message>
        <source>Add pages</source>
        <translation>Ajouter des dessins</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Images</translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s) cannot be used as pages:</source>
        <translation>
            <numerusform>%n image ne peut pas servir de page :</numerusform>
            <numerusform>%n images ne peuvent pas servir de pages :</numerusform>
        </translation>
    </message>
    <message>
        <source>Open coloring book</source>
        <translation>Ouvrir un coloriage</translation>
    </message>
    <message>
        <source>Save coloring book</source>
        <translation>Enregistrer le coloriage</translation>
    </message>
    <message>
        <source>Bitmaps</source>
        <translation>Images BMP</translation>
    </message>
    <message>
        <source>PNG pictures, full colour</source>
        <translation>Images PNG, toutes les couleurs</translation>
    </message>
    <message>
        <source>Your child</source>
        <translation>Votre enfant</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>The picture could not be made.
Please try again; if it happens again, write to us.</source>
        <translation>L&apos;image n&apos;a pas pu être créée.
Veuillez réessayer ; si cela se reproduit, écrivez-nous.</translation>
    </message>
    <message>
        <source>Child&apos;s name</source>
        <translation>Prénom de l&apos;enfant</translation>
    </message>
    <message>
        <source>Child&apos;s age</source>
        <translation>Âge de l&apos;enfant</translation>
    </message>
    <message>
        <source>The picture is successfully loaded on the site.</source>
        <translation>Le dessin a bien été envoyé sur le site.</translation>
    </message>
    <message>
        <source>Clicks counter: %1</source>
        <translation>Clics : %1</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Maintenant</translation>
    </message>
    <message>
        <source>Favorite color: %1</source>
        <translation>Couleur préférée : %1</translation>
    </message>
    <message>
        <source>Favorite coloring book: %1</source>
        <translation>Coloriage préféré : %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Error loading to configuration file config.ini!</source>
        <translation>Impossible de lire le fichier de réglages config.ini !</translation>
    </message>
    <message>
        <source>Error writing to configuration file config.ini!</source>
        <translation>Impossible d&apos;écrire le fichier de réglages config.ini !</translation>
    </message>
    <message>
        <source>This picture cannot be read any more: %1</source>
        <translation>Ce dessin ne peut plus être ouvert : %1</translation>
    </message>
    <message>
        <source>My pictures</source>
        <translation>Mes dessins</translation>
    </message>
    <message numerus="yes">
        <source>My pictures (%n)</source>
        <translation>
            <numerusform>Mes dessins (%n)</numerusform>
            <numerusform>Mes dessins (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Keep coloring</source>
        <translation>Continuer à colorier</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Enregistrer...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Imprimer...</translation>
    </message>
    <message>
        <source>Send to the gallery...</source>
        <translation>Envoyer à la galerie...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Child mode (full screen, locked)</source>
        <translation>Mode enfant (plein écran, verrouillé)</translation>
    </message>
    <message>
        <source>Program options</source>
        <translation>Options du programme</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Windows Maximized</source>
        <translation>Fenêtre agrandie</translation>
    </message>
    <message>
        <source>Disable sound</source>
        <translation>Couper le son</translation>
    </message>
    <message>
        <source>Outlines stay</source>
        <translation>Garder les contours</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Langue :</translation>
    </message>
    <message>
        <source>Desktop language</source>
        <translation>Langue du système</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Pages remember their coloring</source>
        <translation>Les pages gardent leur coloriage</translation>
    </message>
</context>
<context>
    <name>ParentGate</name>
    <message>
        <source>zero</source>
        <translation>zéro</translation>
    </message>
    <message>
        <source>one</source>
        <translation>un</translation>
    </message>
    <message>
        <source>two</source>
        <translation>deux</translation>
    </message>
    <message>
        <source>three</source>
        <translation>trois</translation>
    </message>
    <message>
        <source>four</source>
        <translation>quatre</translation>
    </message>
    <message>
        <source>five</source>
        <translation>cinq</translation>
    </message>
    <message>
        <source>six</source>
        <translation>six</translation>
    </message>
    <message>
        <source>seven</source>
        <translation>sept</translation>
    </message>
    <message>
        <source>eight</source>
        <translation>huit</translation>
    </message>
    <message>
        <source>nine</source>
        <translation>neuf</translation>
    </message>
</context>
<context>
    <name>PictaroApplication</name>
    <message>
        <source>Unknown error.</source>
        <translation>Erreur inconnue.</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Loading...</source>
        <translation>Chargement...</translation>
    </message>
    <message>
        <source>Wait a few seconds</source>
        <translation>Patientez quelques secondes</translation>
    </message>
</context>
<context>
    <name>TFm_ParentGate</name>
    <message>
        <source>For grown-ups</source>
        <translation>Pour les grands</translation>
    </message>
    <message>
        <source>Grown-ups: press the numbers
%1</source>
        <translation>Adultes : appuyez sur les chiffres
%1</translation>
    </message>
    <message>
        <source>Back to coloring</source>
        <translation>Retour au coloriage</translation>
    </message>
    <message>
        <source>Not quite: try again from where you were.</source>
        <translation>Pas tout à fait : reprenez là où vous en étiez.</translation>
    </message>
</context>
</TS>
