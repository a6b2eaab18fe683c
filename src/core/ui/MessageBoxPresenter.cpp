#include "MessageBoxPresenter.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShowEvent>

namespace {

// QMessageBox sizes itself when shown; the box is centred on the screen only then.
class CaixaCentralizada : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
};

QMessageBox::Icon iconOf(TipoMensagem kind)
{
    switch (kind) {
    case TipoMensagem::Aviso:
        return QMessageBox::Warning;
    case TipoMensagem::Erro:
        return QMessageBox::Critical;
    case TipoMensagem::Informacao:
        return QMessageBox::Information;
    case TipoMensagem::Confirmacao:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString titleOf(TipoMensagem kind)
{
    switch (kind) {
    case TipoMensagem::Aviso:
        return QStringLiteral("Aviso");
    case TipoMensagem::Erro:
        return QStringLiteral("Erro");
    case TipoMensagem::Informacao:
        return QStringLiteral("Informação");
    case TipoMensagem::Confirmacao:
        return QStringLiteral("Confirmação");
    }
    return QString();
}

QColor colourOf(CorMensagem colour)
{
    switch (colour) {
    case CorMensagem::Vermelho:
        return QColor(0xFF, 0x00, 0x00);
    case CorMensagem::Verde:
        return QColor(0x00, 0x80, 0x00);
    case CorMensagem::Azul:
        break;
    }
    return QColor(0x00, 0x00, 0x80); // navy
}

} // namespace

std::unique_ptr<QMessageBox> MessageBoxPresenter::criaCaixa(const QString &text, TipoMensagem kind,
                                                            CorMensagem colour, BotoesMensagem buttons)
{
    auto box = std::make_unique<CaixaCentralizada>(QApplication::activeWindow());
    box->setIcon(iconOf(kind));
    box->setWindowTitle(titleOf(kind));
    box->setTextFormat(Qt::PlainText);
    // The callers' line breaks are carriage returns, alone or paired with a line feed in either
    // order (the customer warning writes LF CR); a pair is one break. The label breaks lines at
    // line feeds only.
    static const QRegularExpression quebra(QStringLiteral("\r\n|\n\r|\r"));
    QString shown = text + QStringLiteral("\r\r");
    shown.replace(quebra, QStringLiteral("\n"));
    box->setText(shown);

    QFont font = box->font();
    font.setPointSize(10);
    font.setBold(true);
    box->setFont(font);
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, colourOf(colour));
    box->setPalette(palette);

    if (buttons == BotoesMensagem::SimNao) {
        QPushButton *yes = box->addButton(QMessageBox::Yes);
        QPushButton *no = box->addButton(QMessageBox::No);
        yes->setText(QStringLiteral("Sim"));
        no->setText(QStringLiteral("Não"));
        box->setDefaultButton(yes);
        box->setEscapeButton(no);
    } else {
        QPushButton *ok = box->addButton(QMessageBox::Ok);
        ok->setText(QStringLiteral("OK"));
        box->setDefaultButton(ok);
        box->setEscapeButton(ok);
    }
    // A title bar without close box or system menu: the box is left by its buttons only.
    // Set last: a modality change puts the standard title-bar buttons back.
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    return box;
}

RespostaMensagem MessageBoxPresenter::present(const QString &text, TipoMensagem kind, CorMensagem colour,
                                              BotoesMensagem buttons)
{
    const std::unique_ptr<QMessageBox> box = criaCaixa(text, kind, colour, buttons);
    box->exec();
    const QMessageBox::StandardButton pressed = box->standardButton(box->clickedButton());
    if (buttons == BotoesMensagem::Ok)
        return RespostaMensagem::Ok;
    return pressed == QMessageBox::Yes ? RespostaMensagem::Sim : RespostaMensagem::Nao;
}
