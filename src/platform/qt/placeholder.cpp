// Replaced by USER32, GDI32, SHELL32 and ole32 on Qt.
