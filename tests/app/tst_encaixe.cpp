#include "D500DAT.h"
#include "Encerramento.h"
#include "FonteJanelas.h"
#include "JanelasDoPrograma.h"
#include "ModuleFrame.h"
#include "PastaDemo.h"
#include "ScriptedAnswerer.h"
#include "U500CAD.h"
#include "U500ATS.h"
#include "U500LOG.h"
#include "U500PRI.h"
#include "U599ATL.h"
#include "U599CAD.h"
#include "U599PSQ.h"

#include <QAbstractScrollArea>
#include <QDebug>
#include <QDir>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Every module window, opened on the demonstration data inside the main window at its fixed
// size, shows all its controls without scrolling; so do the login, password and search dialogs.
class TstEncaixe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void fonteDasJanelas();
    void janela_data();
    void janela();
    void dialogos();

private:
    QTemporaryDir m_pasta;
    QString m_pastaAnterior;
    ScriptedAnswerer m_respostas;
    std::unique_ptr<D500DAT> m_dat;
    std::unique_ptr<D500CAD> m_cad;
    std::unique_ptr<F500PRI> m_pri;
};

namespace {

QString descreve(const QWidget *w)
{
    QString texto = w->property("text").toString();
    if (texto.isEmpty())
        texto = w->property("title").toString();
    return QStringLiteral("%1 %2 \"%3\"").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
                                             texto.left(30));
}

QString relato(const QString &onde, const QStringList &achados)
{
    return onde + QStringLiteral(":\n  ") + achados.join(QStringLiteral("\n  "));
}

QRect retanguloEm(const QWidget *w, const QWidget *raiz)
{
    return QRect(w->mapTo(raiz, QPoint(0, 0)), w->size());
}

// A grid, list or text box lays out its own parts (header, viewport, bars) and scrolls its
// content by design; only the box itself must show.
bool dentroDeRolagem(const QWidget *w, const QWidget *raiz)
{
    for (const QWidget *p = w->parentWidget(); p && p != raiz; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(p))
            return true;
    return false;
}

// The visible widgets under `raiz` that lie (partly) outside `area` or outside one of their
// parents, where they are cut off; and the pages not shown of stacks and tab boxes whose
// controls need more room than the page has.
QStringList cortados(QWidget *raiz, const QRect &area)
{
    QStringList achados;
    const QList<QWidget *> filhos = raiz->findChildren<QWidget *>();
    for (QWidget *w : filhos) {
        if (w->isWindow() || !w->isVisibleTo(raiz) || dentroDeRolagem(w, raiz))
            continue;
        QRect visivel = area;
        for (const QWidget *p = w->parentWidget(); p && p != raiz; p = p->parentWidget())
            visivel &= retanguloEm(p, raiz);
        const QRect r = retanguloEm(w, raiz);
        if (r.isEmpty() || !visivel.contains(r))
            QDebug(&achados.emplace_back()).nospace().noquote()
                << descreve(w) << " at " << r << " outside " << visivel;
    }
    const QList<QStackedWidget *> pilhas = raiz->findChildren<QStackedWidget *>();
    for (const QStackedWidget *pilha : pilhas) {
        if (!pilha->isVisibleTo(raiz))
            continue;
        for (int i = 0; i < pilha->count(); ++i) {
            const QWidget *pagina = pilha->widget(i);
            const QSize minimo = pagina->minimumSizeHint();
            if (pagina != pilha->currentWidget()
                && (minimo.width() > pilha->width() || minimo.height() > pilha->height()))
                QDebug(&achados.emplace_back()).nospace().noquote()
                    << "page " << i << " of " << descreve(pilha) << " needs " << minimo << ", has " << pilha->size();
        }
    }
    return achados;
}

// How much ink a text leaves on one line of the font, as a label of the font's height shows it,
// or with room around it.
int tinta(const QFont &fonte, const QString &texto = QStringLiteral("MARCOS ANTÔNIO 0123456789"), bool folga = false)
{
    const QFontMetrics medida(fonte);
    const int margem = folga ? medida.height() : 0;
    QImage imagem(medida.horizontalAdvance(texto) + 4, medida.height() + 2 * margem, QImage::Format_Grayscale8);
    imagem.fill(Qt::white);
    QPainter pintor(&imagem);
    pintor.setFont(fonte);
    pintor.drawText(2, margem + medida.ascent(), texto);
    pintor.end();
    int total = 0;
    for (int y = 0; y < imagem.height(); ++y)
        for (int x = 0; x < imagem.width(); ++x)
            total += 255 - qGray(imagem.pixel(x, y));
    return total;
}

void assenta()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Cells of the visible grids whose number, code or date does not fit its column in the cell's
// own font (a bold row is wider), so the grid would show it cut with an ellipsis. Names and
// descriptions may be cut: the seller widens the column.
QStringList numerosCortados(QWidget *raiz)
{
    static const QRegularExpression numero(QStringLiteral("^[-0-9.,/: %]+$"));
    QStringList achados;
    const QList<QTableView *> grades = raiz->findChildren<QTableView *>();
    for (const QTableView *grade : grades) {
        if (!grade->isVisibleTo(raiz) || !grade->model())
            continue;
        const QAbstractItemModel *modelo = grade->model();
        for (int coluna = 0; coluna < modelo->columnCount(); ++coluna) {
            if (grade->isColumnHidden(coluna))
                continue;
            for (int linha = 0; linha < qMin(modelo->rowCount(), 30); ++linha) {
                const QModelIndex indice = modelo->index(linha, coluna);
                const QString texto = indice.data(Qt::DisplayRole).toString();
                if (texto.isEmpty() || !numero.match(texto).hasMatch())
                    continue;
                const QVariant fonte = indice.data(Qt::FontRole);
                const QFontMetrics medida(fonte.isValid() ? fonte.value<QFont>() : grade->font());
                const int largura = grade->columnWidth(coluna);
                if (medida.horizontalAdvance(texto) + 7 > largura) {
                    achados << QStringLiteral("\"%1\" in column \"%2\" (%3 px) of %4")
                                   .arg(texto, modelo->headerData(coluna, Qt::Horizontal).toString())
                                   .arg(largura).arg(descreve(grade));
                    break;
                }
            }
        }
    }
    return achados;
}

// What the module window shows now needs no scrolling and nothing of it is cut off.
QStringList naoCabeComoEsta(F599CAD *janela)
{
    auto *rolagem = qobject_cast<QScrollArea *>(janela->widget());
    if (!rolagem)
        return {QStringLiteral("no content area")};
    QStringList achados;
    const QWidget *conteudo = rolagem->widget();
    if (conteudo->width() > rolagem->viewport()->width() || conteudo->height() > rolagem->viewport()->height()
        || rolagem->verticalScrollBar()->isVisible() || rolagem->horizontalScrollBar()->isVisible())
        QDebug(&achados.emplace_back()).nospace().noquote()
            << "content needs scrolling: minimum " << conteudo->minimumSizeHint() << " in " << rolagem->viewport()->size();
    return achados + cortados(rolagem->viewport(), rolagem->viewport()->rect()) + numerosCortados(janela);
}

// What the module window shows needs no scrolling and nothing of it is cut off, on every page
// of its visible tab boxes.
QStringList naoCabe(F599CAD *janela)
{
    QStringList achados = naoCabeComoEsta(janela);
    const QList<QTabWidget *> abas = janela->findChildren<QTabWidget *>();
    for (QTabWidget *aba : abas) {
        if (!aba->isVisible())
            continue;
        const int atual = aba->currentIndex();
        for (int i = 0; i < aba->count(); ++i) {
            if (i == atual || !aba->isTabEnabled(i))
                continue;
            aba->setCurrentIndex(i);
            assenta();
            for (const QString &achado : naoCabeComoEsta(janela))
                achados << QStringLiteral("tab \"%1\": %2").arg(aba->tabText(i), achado);
        }
        aba->setCurrentIndex(atual);
        assenta();
    }
    return achados;
}

} // namespace

void TstEncaixe::initTestCase()
{
    FonteJanelas::instala();
    QString erro;
    QVERIFY2(PastaDemo::copia(QDate::currentDate(), m_pasta.path(), &erro), qPrintable(erro));
    m_pastaAnterior = QDir::currentPath();
    QDir::setCurrent(m_pasta.path());
    registraJanelasDoPrograma();
    Encerramento::reinicia();
    Encerramento::setGancho([] {});
    m_dat = std::make_unique<D500DAT>();
    m_dat->setMessagePresenter(&m_respostas);
    m_cad = std::make_unique<D500CAD>(m_dat->cnxFirebird);
    D500CAD *cad = m_cad.get();
    F500PRI::ganchos().login = [](QWidget *parent) {
        F500LOG login(parent);
        login.findChild<QLineEdit *>(QStringLiteral("edusuario"))->setText(QStringLiteral("marcos"));
        login.findChild<QLineEdit *>(QStringLiteral("edsenha"))->setText(QStringLiteral("venda123"));
        login.BitBtn1Click();
        return login.result() == QDialog::Accepted;
    };
    F500PRI::ganchos().trocaSenha = [](QWidget *) {};
    F500PRI::ganchos().mensagensNovas = [cad](const QString &codEmp) { return cad->existemMensagensNovas(codEmp); };
    m_pri = std::make_unique<F500PRI>();
    m_pri->show();
    QCoreApplication::sendPostedEvents(m_pri.get(), QEvent::MetaCall);
    QVERIFY(QTest::qWaitForWindowExposed(m_pri.get()));
    QCOMPARE(m_dat->sessao.CODVEN, QStringLiteral("12"));
    QCOMPARE(m_pri->size(), QSize(553, 523));
}

void TstEncaixe::cleanupTestCase()
{
    m_pri.reset();
    m_cad.reset();
    m_dat.reset();
    F500PRI::restauraGanchos();
    Encerramento::setGancho({});
    QDir::setCurrent(m_pastaAnterior);
}

// Guards against windows drawn in another font than the one they were laid out for (Tahoma,
// or a stand-in that sets text no wider), bold rows and labels drawn regular, and accents over
// capitals ("PADRÃO", "ANTÔNIO") cut off by a line shorter than the letters.
void TstEncaixe::fonteDasJanelas()
{
    const QFont fonte = FonteJanelas::fonte();
    QCOMPARE(QApplication::font(), fonte);
    const qreal largura = QFontMetricsF(FonteJanelas::substituta()).horizontalAdvance(FonteJanelas::textoReferencia());
    QVERIFY2(largura <= FonteJanelas::larguraReferencia() * 1.05 && largura >= FonteJanelas::larguraReferencia() * 0.85,
             qPrintable(QString::number(largura)));
    QFont negrito = fonte;
    negrito.setBold(true);
    QVERIFY2(tinta(negrito) > tinta(fonte) * 5 / 4,
             qPrintable(QStringLiteral("%1 %2").arg(tinta(negrito)).arg(tinta(fonte))));
    const QString acentos = QStringLiteral("PADRÃO ANTÔNIO ÁÊÇ");
    QVERIFY2(tinta(fonte, acentos) >= tinta(fonte, acentos, true) * 98 / 100,
             qPrintable(QStringLiteral("%1 of %2").arg(tinta(fonte, acentos)).arg(tinta(fonte, acentos, true))));
    if (QFontInfo(fonte).family() != QLatin1String("Tahoma"))
        QSKIP("Tahoma is not installed (package fonts-wine): the stand-in is in use");
    QCOMPARE(qRound(QFontMetricsF(fonte).horizontalAdvance(FonteJanelas::textoReferencia())),
             FonteJanelas::larguraReferencia());
}

void TstEncaixe::janela_data()
{
    QTest::addColumn<QString>("classe");
    const QStringList classes = ModuleFrame::registeredModuleWindows();
    for (const QString &classe : classes)
        QTest::newRow(qPrintable(classe)) << classe;
}

// Guards against controls a seller must scroll to reach (buttons, totals, entry fields) or
// cannot see at all, in each module window as it opens and, for windows that open a record
// from their first grid, with the record open; and against height spent on a title bar.
void TstEncaixe::janela()
{
    QFETCH(QString, classe);
    F599CAD *janela = m_pri->frame()->abreJanela(classe);
    QVERIFY2(janela, qPrintable(classe));
    const auto fecha = qScopeGuard([janela] {
        janela->close();
        assenta();
    });
    assenta();
    QVERIFY(janela->isMaximized());
    QCOMPARE(janela->widget()->geometry(), janela->rect()); // no title bar or frame of its own
    QCOMPARE(m_pri->windowTitle(), QStringLiteral("Sistema de Korvex - ") + janela->windowTitle());
    QStringList achados = naoCabe(janela);
    QVERIFY2(achados.isEmpty(), qPrintable(relato(classe + QStringLiteral(" as opened"), achados)));

    // The windows whose list opens its record in the window itself, on a page of its own.
    if (classe == QLatin1String("F530PDV") || classe == QLatin1String("F510CLI")) {
        QTableView *lista = nullptr;
        const QList<QTableView *> grades = janela->findChildren<QTableView *>();
        for (QTableView *grade : grades)
            if (grade->isVisible() && grade->model())
                lista = grade;
        QVERIFY(lista && lista->model()->rowCount() > 0);
        lista->setCurrentIndex(lista->model()->index(0, 0));
        emit lista->doubleClicked(lista->currentIndex());
        assenta();
        QVERIFY(!lista->isVisible()); // the record's page in its place
        achados = naoCabe(janela);
        QVERIFY2(achados.isEmpty(), qPrintable(relato(classe + QStringLiteral(" with a record open"), achados)));
    }
}

// Guards against the dialogs that open over the main window hiding a control.
void TstEncaixe::dialogos()
{
    F500LOG login(m_pri.get());
    F500ATS troca(m_pri.get());
    F599PSQ pesquisa(QStringLiteral("F510CLI"),
                     {QStringLiteral("CODCLI AS CODIGO"), QStringLiteral("RAZCLI AS \"RAZÃO SOCIAL\"")},
                     QStringLiteral(" AND CODEMP = 1"), m_pri.get());
    for (QDialog *dialogo : std::initializer_list<QDialog *>{&login, &troca, &pesquisa}) {
        dialogo->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialogo));
        const QStringList achados = cortados(dialogo, dialogo->rect());
        QVERIFY2(achados.isEmpty(), qPrintable(relato(descreve(dialogo), achados)));
        dialogo->hide();
    }
}

QTEST_MAIN(TstEncaixe)
#include "tst_encaixe.moc"
