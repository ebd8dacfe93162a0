#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// A file-open dialog with a filter and an initial folder. The dialog itself is
// run by a replaceable function, so that tests can answer it.
class TOpenDialog : public QObject
{
    Q_OBJECT
public:
    // Shows the dialog and returns the chosen file, or nothing when cancelled.
    // sFilter is in Qt's form ("Text (*.txt);;All (*)").
    using TRunner = std::function<std::optional<QString>(QWidget* AParent, const QString& sInitialDir,
                                                         const QString& sFilter)>;

    explicit TOpenDialog(QWidget* parent);

    // Pairs of description and patterns, all separated by "|":
    // "Video files (*.avi)|*.avi|All files (*.*)|*.*".
    QString Filter() const { return FFilter; }
    void SetFilter(const QString& sFilter) { FFilter = sFilter; }

    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& sInitialDir) { FInitialDir = sInitialDir; }

    // The file chosen by the last Execute that was not cancelled.
    QString FileName() const { return FFileName; }

    // Runs the dialog; true when a file was chosen.
    bool Execute();

    // The "|"-separated filter in Qt's form: each description gets the patterns
    // of its pair, separated by blanks; "*.*" becomes "*" (every file).
    static QString QtFilter(const QString& sFilter);

    // Replaces the function that runs the dialog; an empty one restores Qt's file dialog.
    static void SetRunner(TRunner ARunner);

private:
    QString FFilter;
    QString FInitialDir;
    QString FFileName;
};
