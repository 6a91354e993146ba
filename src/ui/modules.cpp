#include "modules.h"

#include "calc/apperror.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace ui {
namespace {

// The module's entry point; loaded once, and kept loaded for the objects it made.
template <class Function> Function *entryPoint(const char *module, const char *symbol) {
    const QString fileName = QStringLiteral("lib%1.so").arg(QLatin1String(module));
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString dirs[] = {programDir,
                            programDir + u'/' + QStringLiteral(DOLGOMER_MODULES_FROM_BIN)};
    for (const QString &dir : dirs) {
        const QString path = dir + u'/' + fileName;
        if (!QFileInfo::exists(path)) continue;
        QLibrary library(path);
        if (auto *entry = reinterpret_cast<Function *>(library.resolve(symbol))) return entry;
        throw AppError(QStringLiteral("Не удается загрузить модуль программы \"%1\": %2")
                           .arg(path, library.errorString()));
    }
    throw AppError(QStringLiteral("Модуль программы \"%1\" не найден. Переустановите программу.")
                       .arg(fileName));
}

} // namespace

std::unique_ptr<rates::RateSource> makeRateSource() {
    static MakeRateSource *const make =
        entryPoint<MakeRateSource>("dolgomer-update", "dolgomerMakeRateSource");
    return std::unique_ptr<rates::RateSource>(make());
}

std::unique_ptr<PrinterJob> openDefaultPrinter() {
    static OpenDefaultPrinter *const open =
        entryPoint<OpenDefaultPrinter>("dolgomer-print", "dolgomerOpenDefaultPrinter");
    return std::unique_ptr<PrinterJob>(open());
}

} // namespace ui
