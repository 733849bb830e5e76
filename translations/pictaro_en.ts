<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n picture(s) cannot be used as pages:</source>
        <translation>
            <numerusform>%n picture cannot be used as a page:</numerusform>
            <numerusform>%n pictures cannot be used as pages:</numerusform>
        </translation>
    </message>
</context>
</TS>
