#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own texts (command-line errors and help, the text boxes' context
// menus, the file chooser) in Italian, from the translations Qt installs
// (qtbase_it.qm, Debian package qt6-translations-l10n), whatever the locale.
// Texts that catalogue leaves untranslated get the program's own Italian.
// The translators belong to app.
void installQtItalian(QCoreApplication& app);
