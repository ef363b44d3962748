// Qt-free logic; filled in with its window.
