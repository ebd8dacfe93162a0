#include "ui/OrvDlg.h"

#include <QApplication>

namespace OrvDlg {

namespace {

TDlgPresenter& presenter()
{
    static TDlgPresenter FPresenter;
    return FPresenter;
}

QMessageBox::StandardButton showMessageBox(const QString& sMsg, QMessageBox::Icon ADlgType,
                                           QMessageBox::StandardButtons AButtons)
{
    QMessageBox box(ADlgType, QApplication::applicationDisplayName(), sMsg, AButtons,
                    QApplication::activeWindow());
    // A question that deletes or discards something must not be confirmed by a stray Enter.
    if (AButtons.testFlag(QMessageBox::No))
        box.setDefaultButton(QMessageBox::No);
    box.exec();
    const auto clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}

} // namespace

void DlgMessage(const QString& sMsg, QMessageBox::Icon ADlgType, QMessageBox::StandardButtons AButtons,
                const TDlgCallback& ACallback)
{
    const TDlgPresenter& show = presenter();
    const QMessageBox::StandardButton result =
        show ? show(sMsg, ADlgType, AButtons) : showMessageBox(sMsg, ADlgType, AButtons);
    if (ACallback)
        ACallback(result);
}

void DlgConfirm(const QString& sMsg, const TDlgCallback& ACallback)
{
    DlgMessage(sMsg, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, ACallback);
}

void DlgSetPresenter(TDlgPresenter APresenter)
{
    presenter() = std::move(APresenter);
}

} // namespace OrvDlg
