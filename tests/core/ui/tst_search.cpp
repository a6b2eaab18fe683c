#include "AmbienteJanela.h"
#include "ClientDataSetPlus.h"
#include "U599PSQ.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

namespace {
const QString kVendedores = QStringLiteral(
    "INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN) VALUES (1, 10, 'MARCOS ABCD');\n"
    "INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN) VALUES (1, 11, 'Ana Abc');\n"
    "INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN) VALUES (1, 12, 'JOSE');\n"
    "INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN) VALUES (1, 13, 'D''AVILA');\n"
    "INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN) VALUES (2, 20, 'ABC OUTRA EMPRESA');\n");

const QStringList kColunas = {QStringLiteral("CODVEN AS CODIGO"), QStringLiteral("NOMVEN AS \"VENDEDOR\"")};
const QString kCondicao = QStringLiteral(" AND CODEMP = 1");
} // namespace

// The search window over the sellers, as the supervisor console uses it.
class TstSearch : public QObject
{
    Q_OBJECT

    std::unique_ptr<AmbienteJanela> m_amb;

    static QLineEdit *edit(F599PSQ &w, const char *name) { return w.findChild<QLineEdit *>(QString::fromLatin1(name)); }
    static QPushButton *botao(F599PSQ &w, const char *name)
    {
        return w.findChild<QPushButton *>(QString::fromLatin1(name));
    }
    static QStringList nomes(F599PSQ &w)
    {
        QStringList lista;
        TClientDataSetPlus *ds = w.cdsPesquisa;
        for (ds->first(); !ds->eof(); ds->next())
            lista << ds->asString(QStringLiteral("VENDEDOR"));
        return lista;
    }

private slots:
    void init()
    {
        m_amb = std::make_unique<AmbienteJanela>(kVendedores);
        m_amb->db->open(m_amb->dat->cnxFirebird);
    }

    void cleanup() { m_amb.reset(); }

    // Guards the opening search: no rows, but the grid has one titled column per expression.
    void showingPreparesEmptyGrid()
    {
        F599PSQ w(QStringLiteral("F512VEN"), kColunas, kCondicao);
        w.show();
        QVERIFY(w.cdsPesquisa->active());
        QCOMPARE(w.cdsPesquisa->recordCount(), 0);
        QCOMPARE(w.cdsPesquisa->headerData(1, Qt::Horizontal).toString(), QStringLiteral("VENDEDOR"));
        QVERIFY(edit(w, "edtCodigo")->text().isEmpty());
        QVERIFY(m_amb->respostas.shown.isEmpty());
    }

    // Guards search-as-you-type: two characters search nothing, the third searches in any case.
    void typingSearchesFromTheThirdCharacter()
    {
        F599PSQ w(QStringLiteral("F512VEN"), kColunas, kCondicao);
        w.show();
        QTest::keyClicks(edit(w, "edtDescricao"), QStringLiteral("ab"));
        QCOMPARE(w.cdsPesquisa->recordCount(), 0);
        QTest::keyClicks(edit(w, "edtDescricao"), QStringLiteral("c"));
        QStringList achados = nomes(w);
        achados.sort();
        QCOMPARE(achados, (QStringList{QStringLiteral("Ana Abc"), QStringLiteral("MARCOS ABCD")}));
    }

    // Guards Enter with empty edits: every row the trailing condition lets through.
    void enterWithEmptyEditsListsAll()
    {
        F599PSQ w(QStringLiteral("F512VEN"), kColunas, kCondicao);
        w.show();
        QTest::keyClick(edit(w, "edtDescricao"), Qt::Key_Return);
        QCOMPARE(w.cdsPesquisa->recordCount(), 4);
        QVERIFY(w.isVisible());
    }

    // Guards code plus description: the code restricts the search; letters in a numeric code
    // and a description longer than its column get the window's own message or are cut, never
    // the engine's conversion or truncation error.
    void codeRestrictsSearch()
    {
        F599PSQ w(QStringLiteral("F512VEN"), kColunas, kCondicao);
        w.show();
        edit(w, "edtCodigo")->setText(QStringLiteral("11"));
        QTest::keyClicks(edit(w, "edtDescricao"), QStringLiteral("abc"));
        QCOMPARE(nomes(w), QStringList{QStringLiteral("Ana Abc")});

        edit(w, "edtCodigo")->setText(QStringLiteral("1x"));
        QTest::keyClick(edit(w, "edtDescricao"), Qt::Key_Return);
        QVERIFY(m_amb->respostas.lastText().startsWith(QStringLiteral("Código: \"1x\"")));
        QCOMPARE(nomes(w), QStringList{QStringLiteral("Ana Abc")});
        edit(w, "edtCodigo")->clear();
        m_amb->respostas.shown.clear();
        edit(w, "edtDescricao")->clear();
        QTest::keyClicks(edit(w, "edtDescricao"), QString(60, u'A'));
        QCOMPARE(edit(w, "edtDescricao")->text().size(), 50);
        QVERIFY(m_amb->respostas.shown.isEmpty());
    }

    // Guards typed quotes and characters no column holds: searched literally or found nowhere,
    // never an SQL error ("Cannot transliterate character").
    void quoteInDescriptionIsLiteral()
    {
        F599PSQ w(QStringLiteral("F512VEN"), kColunas, kCondicao);
        w.show();
        QTest::keyClicks(edit(w, "edtDescricao"), QStringLiteral("d'av"));
        QCOMPARE(nomes(w), QStringList{QStringLiteral("D'AVILA")});
        edit(w, "edtDescricao")->clear();
        edit(w, "edtDescricao")->insert(QStringLiteral(u"€ÿ😀"));
        QCOMPARE(nomes(w), QStringList());
        QVERIFY(m_amb->respostas.shown.isEmpty());
    }

    // Guards selecting: the current row's code and description; an empty result gives nothing.
    void selectReturnsCurrentRow()
    {
        F599PSQ w(QStringLiteral("F512VEN"), kColunas, kCondicao);
        w.show();
        QTest::keyClicks(edit(w, "edtDescricao"), QStringLiteral("jos"));
        QTest::mouseClick(botao(w, "btSelecionar"), Qt::LeftButton);
        QCOMPARE(w.codigo(), QStringLiteral("12"));
        QCOMPARE(w.descricao(), QStringLiteral("JOSE"));

        F599PSQ vazia(QStringLiteral("F512VEN"), kColunas, kCondicao);
        vazia.show();
        QTest::keyClicks(edit(vazia, "edtDescricao"), QStringLiteral("xyz"));
        QTest::mouseClick(botao(vazia, "btSelecionar"), Qt::LeftButton);
        QVERIFY(vazia.codigo().isEmpty() && vazia.descricao().isEmpty());
    }

    // Guards the double click on a row and cancelling (button and Escape).
    void doubleClickSelectsCancelClears()
    {
        F599PSQ w(QStringLiteral("F512VEN"), kColunas, kCondicao);
        w.show();
        QTest::keyClicks(edit(w, "edtDescricao"), QStringLiteral("avila"));
        auto *grade = w.findChild<QTableView *>(QStringLiteral("dbgPesquisa"));
        const QRect celula = grade->visualRect(w.cdsPesquisa->index(0, 1));
        QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, celula.center());
        QTest::mouseDClick(grade->viewport(), Qt::LeftButton, {}, celula.center());
        QCOMPARE(w.codigo(), QStringLiteral("13"));
        QVERIFY(!w.isVisible());

        F599PSQ c(QStringLiteral("F512VEN"), kColunas, kCondicao);
        c.show();
        QTest::keyClicks(edit(c, "edtDescricao"), QStringLiteral("jos"));
        QTest::mouseClick(botao(c, "btCancelar"), Qt::LeftButton);
        QVERIFY(c.codigo().isEmpty() && c.descricao().isEmpty());
        QCOMPARE(c.result(), int(QDialog::Rejected));
    }

    // Guards the title click: ascending, then descending, then ascending again.
    void titleClickSortsBothWays()
    {
        F599PSQ w(QStringLiteral("F512VEN"), kColunas, kCondicao);
        w.show();
        QTest::keyClick(edit(w, "edtDescricao"), Qt::Key_Return);
        auto *cabecalho = w.findChild<QTableView *>(QStringLiteral("dbgPesquisa"))->horizontalHeader();
        emit cabecalho->sectionClicked(1);
        QCOMPARE(nomes(w).first(), QStringLiteral("Ana Abc"));
        emit cabecalho->sectionClicked(1);
        QCOMPARE(nomes(w).first(), QStringLiteral("MARCOS ABCD"));
        emit cabecalho->sectionClicked(1);
        QCOMPARE(nomes(w).first(), QStringLiteral("Ana Abc"));
    }

    // Guards a failing search: the engine's message, or the refusal of a code that is no number,
    // and the window keeps its last result.
    void failingSearchKeepsPreviousResult()
    {
        F599PSQ w(QStringLiteral("F512VEN"), kColunas, QStringLiteral(" AND NO_SUCH_COLUMN = 1"));
        w.show();
        QCOMPARE(m_amb->respostas.shown.size(), 1);
        QCOMPARE(m_amb->respostas.shown.first().kind, TipoMensagem::Erro);
        QVERIFY(w.isVisible());

        F599PSQ boa(QStringLiteral("F512VEN"), kColunas, kCondicao);
        boa.show();
        QTest::keyClicks(edit(boa, "edtDescricao"), QStringLiteral("jos"));
        QCOMPARE(boa.cdsPesquisa->recordCount(), 1);
        edit(boa, "edtCodigo")->setText(QStringLiteral("abc")); // not a number: told before any statement
        QTest::keyClick(edit(boa, "edtDescricao"), Qt::Key_Return);
        QCOMPARE(m_amb->respostas.shown.size(), 2);
        QVERIFY(m_amb->respostas.lastText().startsWith(QStringLiteral("Código: \"abc\" não é um número válido")));
        QCOMPARE(nomes(boa), QStringList{QStringLiteral("JOSE")});
    }

    // Guards abrePesquisa: the chosen code and description come out, true only with a code.
    void abrePesquisaReturnsChoice()
    {
        QTimer::singleShot(0, this, [] {
            auto *w = qobject_cast<F599PSQ *>(QApplication::activeModalWidget());
            QVERIFY(w);
            QTest::keyClicks(w->findChild<QLineEdit *>(QStringLiteral("edtDescricao")), QStringLiteral("marc"));
            QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("btSelecionar")), Qt::LeftButton);
        });
        QString codigo = QStringLiteral("x"), descricao = QStringLiteral("y");
        QVERIFY(F599PSQ::abrePesquisa(QStringLiteral("F512VEN"), kColunas, kCondicao, codigo, descricao));
        QCOMPARE(codigo, QStringLiteral("10"));
        QCOMPARE(descricao, QStringLiteral("MARCOS ABCD"));

        QTimer::singleShot(0, this, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
        QVERIFY(!F599PSQ::abrePesquisa(QStringLiteral("F512VEN"), kColunas, kCondicao, codigo, descricao));
        QVERIFY(codigo.isEmpty() && descricao.isEmpty());
    }
};

QTEST_MAIN(TstSearch)
#include "tst_search.moc"
