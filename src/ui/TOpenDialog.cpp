#include "ui/TOpenDialog.h"

#include <QFileDialog>
#include <QRegularExpression>
#include <QWidget>

namespace {

std::optional<QString> RunFileDialog(QWidget* AParent, const QString& sInitialDir, const QString& sFilter)
{
    const QString chosen = QFileDialog::getOpenFileName(AParent, QString(), sInitialDir, sFilter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

TOpenDialog::TRunner& Runner()
{
    static TOpenDialog::TRunner runner = RunFileDialog;
    return runner;
}

} // namespace

TOpenDialog::TOpenDialog(QWidget* parent)
    : QObject(parent)
{
}

bool TOpenDialog::Execute()
{
    const std::optional<QString> chosen =
        Runner()(qobject_cast<QWidget*>(parent()), FInitialDir, QtFilter(FFilter));
    if (!chosen)
        return false;
    FFileName = *chosen;
    return true;
}

QString TOpenDialog::QtFilter(const QString& sFilter)
{
    const QStringList parts = sFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            patterns << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
        }
        // Qt reads the patterns from the description's last parentheses.
        static const QRegularExpression listed(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        QString description = parts.at(i).trimmed();
        description.remove(listed);
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

void TOpenDialog::SetRunner(TRunner ARunner)
{
    Runner() = ARunner ? std::move(ARunner) : TRunner(RunFileDialog);
}
