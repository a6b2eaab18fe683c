#include "MessageBoxPresenter.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>

// The window-backed exibeMensagem: answers by keyboard, captions, title bar, font and colour.
class TestMessageBox : public QObject
{
    Q_OBJECT

private:
    // Runs check + key on the box once it is the active modal window, then presents.
    RespostaMensagem answerWith(Qt::Key key, BotoesMensagem buttons,
                                const std::function<void(QMessageBox *)> &check = {})
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            poll.stop();
            seen = true;
            if (check)
                check(box);
            QTest::keyClick(box, key);
        });
        poll.start();
        MessageBoxPresenter presenter;
        const RespostaMensagem answer = presenter.present(QStringLiteral("Deseja realmente SAIR do Sistema ?"),
                                                          TipoMensagem::Confirmacao, CorMensagem::Azul, buttons);
        [&] { QVERIFY(seen); }();
        return answer;
    }

private slots:
    // Guards against Escape confirming a question: on Sim/Não it must answer Não.
    void escapeOnYesNoAnswersNo()
    {
        QCOMPARE(answerWith(Qt::Key_Escape, BotoesMensagem::SimNao), RespostaMensagem::Nao);
    }

    // Guards against Enter not reaching the default button Sim.
    void enterOnYesNoAnswersYes()
    {
        QCOMPARE(answerWith(Qt::Key_Return, BotoesMensagem::SimNao), RespostaMensagem::Sim);
    }

    // Guards against an OK box that Escape cannot close.
    void escapeOnOkAnswersOk()
    {
        QCOMPARE(answerWith(Qt::Key_Escape, BotoesMensagem::Ok), RespostaMensagem::Ok);
    }

    // Guards against English captions and a box that sits off-centre.
    void shownBoxIsCentredWithPortugueseCaptions()
    {
        answerWith(Qt::Key_Escape, BotoesMensagem::SimNao, [](QMessageBox *box) {
            QStringList captions;
            const QList<QAbstractButton *> buttons = box->buttons();
            for (QAbstractButton *b : buttons)
                captions << b->text();
            captions.sort();
            QCOMPARE(captions, (QStringList{QStringLiteral("Não"), QStringLiteral("Sim")}));
            QCOMPARE(box->windowTitle(), QStringLiteral("Confirmação"));
            const QPoint centre = box->screen()->availableGeometry().center();
            QVERIFY((box->frameGeometry().center() - centre).manhattanLength() <= 2);
            QVERIFY(box->isModal());
            QVERIFY(!box->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        });
    }

    // Guards the look each caller chooses: icon and title by kind, text with two line breaks
    // after it (a LF CR pair is one break, not a blank line), bold 10 pt in the chosen colour,
    // and no close box on the title bar.
    void boxFollowsKindColourAndFrame()
    {
        const auto box = MessageBoxPresenter::criaCaixa(QStringLiteral("linha 1\rlinha 2\n\rlinha 3"),
                                                        TipoMensagem::Erro, CorMensagem::Vermelho, BotoesMensagem::Ok);
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->windowTitle(), QStringLiteral("Erro"));
        QCOMPARE(box->text(), QStringLiteral("linha 1\nlinha 2\nlinha 3\n\n"));
        QCOMPARE(box->font().pointSize(), 10);
        QVERIFY(box->font().bold());
        QCOMPARE(box->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(box->windowFlags().testFlag(Qt::CustomizeWindowHint));
        QVERIFY(!box->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!box->windowFlags().testFlag(Qt::WindowSystemMenuHint));
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->buttons().at(0)->text(), QStringLiteral("OK"));

        const auto info = MessageBoxPresenter::criaCaixa(QStringLiteral("x"), TipoMensagem::Informacao,
                                                         CorMensagem::Verde, BotoesMensagem::Ok);
        QCOMPARE(info->windowTitle(), QStringLiteral("Informação"));
        QCOMPARE(info->icon(), QMessageBox::Information);
        QCOMPARE(info->palette().color(QPalette::WindowText), QColor(0x00, 0x80, 0x00));
        const auto warning = MessageBoxPresenter::criaCaixa(QStringLiteral("x"), TipoMensagem::Aviso,
                                                            CorMensagem::Azul, BotoesMensagem::Ok);
        QCOMPARE(warning->windowTitle(), QStringLiteral("Aviso"));
        QCOMPARE(warning->icon(), QMessageBox::Warning);
        QCOMPARE(warning->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
