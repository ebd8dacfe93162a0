#include "ui/OrvDlg.h"

#include <QPushButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace OrvDlg;

class tst_OrvDlg : public QObject
{
    Q_OBJECT
private:
    // Acts on the modal box as soon as it is shown, from inside its event loop.
    static void whenBoxShown(std::function<void(QMessageBox*)> act)
    {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                act(box);
            }
        });
        timer->start();
    }

private slots:
    void cleanup() { DlgSetPresenter({}); }

    void confirmShowsYesNoQuestionWithNoAsDefault()
    {
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        whenBoxShown([&](QMessageBox* box) {
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            defaultButton = box->standardButton(box->defaultButton());
            box->button(QMessageBox::Yes)->click();
        });
        QMessageBox::StandardButton answer = QMessageBox::NoButton;
        int calls = 0;
        DlgConfirm(QStringLiteral("DELETE the screenshot ?"), [&](QMessageBox::StandardButton r) {
            answer = r;
            ++calls;
        });
        QCOMPARE(calls, 1);
        QCOMPARE(answer, QMessageBox::Yes);
        QCOMPARE(text, QStringLiteral("DELETE the screenshot ?"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(defaultButton, QMessageBox::No);
    }

    void answersReachTheCallback_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("Enter takes the default No") << int(Qt::Key_Return) << int(QMessageBox::No);
        QTest::newRow("Escape is No") << int(Qt::Key_Escape) << int(QMessageBox::No);
        QTest::newRow("Y is Yes") << int(Qt::Key_Y) << int(QMessageBox::Yes);
    }
    void answersReachTheCallback()
    {
        QFETCH(int, key);
        QFETCH(int, expected);
        whenBoxShown([key](QMessageBox* box) { QTest::keyClick(box, Qt::Key(key)); });
        int answer = -1;
        DlgConfirm(QStringLiteral("Sure?"), [&](QMessageBox::StandardButton r) { answer = int(r); });
        QCOMPARE(answer, expected);
    }

    void presenterAnswersInsteadOfTheBox()
    {
        QString shownText;
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons shownButtons;
        DlgSetPresenter([&](const QString& sMsg, QMessageBox::Icon type, QMessageBox::StandardButtons buttons) {
            shownText = sMsg;
            shownIcon = type;
            shownButtons = buttons;
            return QMessageBox::Ok;
        });
        QMessageBox::StandardButton answer = QMessageBox::NoButton;
        DlgMessage(QStringLiteral("Done"), QMessageBox::Information, QMessageBox::Ok,
                   [&](QMessageBox::StandardButton r) { answer = r; });
        QCOMPARE(answer, QMessageBox::Ok);
        QCOMPARE(shownText, QStringLiteral("Done"));
        QCOMPARE(shownIcon, QMessageBox::Information);
        QCOMPARE(shownButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(tst_OrvDlg)
#include "tst_OrvDlg.moc"
