#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// Modal message dialogs whose answer reaches a callback. The dialog is shown
// through a replaceable presenter so that tests can answer it without a user.
namespace OrvDlg {

// The button the user answered with; QMessageBox::NoButton when the dialog was
// closed without an answer.
using TDlgCallback = std::function<void(QMessageBox::StandardButton AResult)>;

// Shows the dialog and returns the answer.
using TDlgPresenter = std::function<QMessageBox::StandardButton(
    const QString& sMsg, QMessageBox::Icon ADlgType, QMessageBox::StandardButtons AButtons)>;

// Shows sMsg with the given type and buttons, modally, then calls ACallback
// with the answer on the calling (GUI) thread.
void DlgMessage(const QString& sMsg, QMessageBox::Icon ADlgType, QMessageBox::StandardButtons AButtons,
                const TDlgCallback& ACallback);

// A Yes/No question.
void DlgConfirm(const QString& sMsg, const TDlgCallback& ACallback);

// Replaces the modal QMessageBox with APresenter; an empty presenter restores it.
void DlgSetPresenter(TDlgPresenter APresenter);

} // namespace OrvDlg
