#include "services/OrvError.h"

#include "services/OrvLog.h"

#include <QtGlobal>

#include <exception>

void OrvError_ReportCurrent(const QString& sWhere)
{
    QString sError = QStringLiteral("unknown error");
    if (const std::exception_ptr error = std::current_exception()) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            sError = QString::fromLocal8Bit(e.what());
        } catch (...) {
        }
    }
    const QString sMsg = sWhere + QStringLiteral(": ") + sError;
    if (OrvLog)
        OrvLog->Add(sMsg);
    qWarning("%s", qUtf8Printable(sMsg));
}
