#include "core/QtItalian.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// What Qt's Italian catalogue leaves in English.
class MissingItalian : public QTranslator {
  public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QCommandLineParser") != 0)
            return {};
        if (qstrcmp(sourceText, "Displays help on commandline options.") == 0)
            return QStringLiteral("Mostra l'aiuto sulle opzioni della riga di comando.");
        if (qstrcmp(sourceText, "Displays help including Qt specific options.") == 0)
            return QStringLiteral("Mostra l'aiuto comprese le opzioni proprie di Qt.");
        return {};
    }
};

} // namespace

void installQtItalian(QCoreApplication& app) {
    // Installed first, so asked last: Qt's catalogue has the final say.
    app.installTranslator(new MissingItalian(&app));
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtTexts);
}
