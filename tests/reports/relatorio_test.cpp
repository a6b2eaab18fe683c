#include "D500DAT.h"
#include "DatabaseError.h"
#include "Formatos.h"
#include "LeitorPlanilha.h"
#include "ScriptedAnswerer.h"
#include "TestDatabase.h"
#include "U500REL.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// One folder of tests/data/reports: caso.txt (title, breaks, partial flag, totals, then the query after
// "---") and esperado.htm, the page byte for byte.
D500REL::Relatorio leCaso(const QString &pasta)
{
    QFile f(QDir(pasta).filePath(QStringLiteral("caso.txt")));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(pasta);
    const QString texto = QString::fromUtf8(f.readAll());
    const qsizetype corte = texto.indexOf(QLatin1String("\n---\n"));
    D500REL::Relatorio r;
    r.sql = texto.mid(corte + 5);
    for (const QString &linha : texto.left(corte).split(QLatin1Char('\n'))) {
        const QString chave = linha.section(QLatin1Char('='), 0, 0);
        const QString valor = linha.section(QLatin1Char('='), 1);
        if (chave == QLatin1String("titulo"))
            r.titulo = valor;
        else if (chave == QLatin1String("quebras"))
            r.quebras = valor.split(QLatin1Char('|'));
        else if (chave == QLatin1String("parciais"))
            r.parciais = valor == QLatin1String("S");
        else if (chave == QLatin1String("totais"))
            r.totalizadores = valor.isEmpty() ? QStringList() : valor.split(QLatin1Char('|'));
    }
    return r;
}

QByteArray conteudo(const QString &arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Relatorio : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&respostas);
        db.open(dat->cnxFirebird);
        rel = std::make_unique<D500REL>();
        rel->pastaPrograma = saida.path();
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        Formatos::setStatementForm(false);
    }

    TestDatabase db;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    std::unique_ptr<D500REL> rel;
    QTemporaryDir saida;
};

} // namespace

// Guards the page byte for byte (markup, CR LF, Windows-1252, groups, totals, number forms) for
// every golden case, and that neither the machine's locale nor the statement form changes it.
TEST_F(Relatorio, paginaIgualAoEsperadoEmQualquerLocale)
{
    const QDir casos(QStringLiteral(KORVEX_CASOS_RELATORIO));
    const QStringList pastas = casos.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_GE(pastas.size(), 3);
    for (const QString &caso : pastas) {
        SCOPED_TRACE(caso.toStdString());
        D500REL::Relatorio r = leCaso(casos.filePath(caso));
        r.arquivo = QDir(saida.path()).filePath(QStringLiteral("Relatorio.htm"));
        const QString esperado = casos.filePath(caso + QStringLiteral("/esperado.htm"));
        ASSERT_TRUE(rel->toHTML(r));
        if (qEnvironmentVariableIsSet("KORVEX_GRAVA_ESPERADO"))
            QFile::copy(r.arquivo, esperado);
        EXPECT_EQ(conteudo(r.arquivo), conteudo(esperado));

        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Formatos::setStatementForm(true);
        ASSERT_TRUE(rel->toHTML(r));
        EXPECT_EQ(conteudo(r.arquivo), conteudo(esperado));
        QLocale::setDefault(QLocale::c());
        Formatos::setStatementForm(false);
    }
}

// Guards the empty result: the previous page is deleted, false comes back and no box is shown;
// the workbook is not written either.
TEST_F(Relatorio, consultaSemLinhasApagaPaginaAnterior)
{
    D500REL::Relatorio r;
    r.sql = QStringLiteral("SELECT 'X' \"Nome\" FROM RDB$DATABASE WHERE 1 = 0");
    r.titulo = QStringLiteral("Vazio");
    r.arquivo = QDir(saida.path()).filePath(QStringLiteral("Relatorio.htm"));
    QFile antigo(r.arquivo);
    ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
    antigo.write("antigo");
    antigo.close();
    EXPECT_FALSE(rel->toHTML(r));
    EXPECT_FALSE(QFile::exists(r.arquivo));
    const QString planilha = QDir(saida.path()).filePath(QStringLiteral("vazio.xlsx"));
    EXPECT_FALSE(rel->gravaExcel(r, planilha));
    EXPECT_FALSE(QFile::exists(planilha));
    EXPECT_TRUE(rel->toEXCEL(r).isEmpty());
    EXPECT_TRUE(respostas.shown.isEmpty());
}

// Guards the column-name markers the reports rely on.
TEST(RelatorioCampos, marcadoresDeColuna)
{
    EXPECT_EQ(D500REL::TrataCampo(QStringLiteral("Subs. Trib.#(2)#")), QStringLiteral("Subs. Trib."));
    EXPECT_EQ(D500REL::TrataCampo(QStringLiteral("Pendência_OCULT")), QStringLiteral("Pendência"));
    EXPECT_EQ(D500REL::TrataCampo(QStringLiteral("valor_ocult")), QStringLiteral("valor_ocult"));
    EXPECT_FALSE(D500REL::exibeCampo(QStringLiteral("valor_ocult")));
    EXPECT_TRUE(D500REL::exibeCampo(QStringLiteral("Quant.#(2)#")));
    EXPECT_EQ(D500REL::decimaisCampo(QStringLiteral("Vl. Unitário#(3)#")), 3);
    EXPECT_EQ(D500REL::decimaisCampo(QStringLiteral("Total_OCULT#(2)#")), 2);
    EXPECT_EQ(D500REL::decimaisCampo(QStringLiteral("Nome")), -1);
    EXPECT_EQ(D500REL::isTotalizador(QStringLiteral("Tot. Item#(3)#"),
                                     {QStringLiteral("Subs. Trib.#(2)#"), QStringLiteral("TOT. ITEM#(3)#")}), 1);
}

// Guards the workbook a seller opens: title, header, group and total rows with their merges,
// fonts, colours and alignments; numbers as numbers with their decimals; fitted widths; and a
// report wider than 26 columns.
TEST_F(Relatorio, planilhaComEstilosNumerosELarguras)
{
    D500REL::Relatorio r = leCaso(QStringLiteral(KORVEX_CASOS_RELATORIO "/quebra_vendedor_parciais"));
    const QString arquivo = QDir(saida.path()).filePath(QStringLiteral("vendas.xlsx"));
    ASSERT_TRUE(rel->gravaExcel(r, arquivo));
    LeitorPlanilha p;
    QString erro;
    ASSERT_TRUE(p.le(arquivo, &erro)) << qPrintable(erro);

    // Visible: Produto, Valor, Qtde, Peso (A..D). Rows: 1 title, 3 group, 4 header, 5-6 detail,
    // 7-8 partial totals, 9 group, 10 header, 11-12 detail, 13-14 partial, 15-16 general.
    EXPECT_EQ(p.unioes, (QStringList{QStringLiteral("A1:D1"), QStringLiteral("A3:D3"), QStringLiteral("A7:D7"),
                                     QStringLiteral("A8:D8"), QStringLiteral("A9:D9"), QStringLiteral("A13:D13"),
                                     QStringLiteral("A14:D14"), QStringLiteral("A15:D15"), QStringLiteral("A16:D16")}));
    const auto titulo = p.celulas.value(QStringLiteral("A1"));
    EXPECT_EQ(titulo.valor, QStringLiteral("Vendas por Vendedor"));
    EXPECT_TRUE(titulo.negrito);
    EXPECT_EQ(titulo.fonte, QStringLiteral("Arial"));
    EXPECT_EQ(titulo.tamanho, 17);
    EXPECT_EQ(titulo.alinhamento, QStringLiteral("center"));

    const auto grupo = p.celulas.value(QStringLiteral("A3"));
    EXPECT_EQ(grupo.valor, QStringLiteral("VENDEDOR : ANA"));
    EXPECT_EQ(grupo.fundo, QStringLiteral("FF8080FF"));
    EXPECT_EQ(grupo.alinhamento, QStringLiteral("left"));
    EXPECT_TRUE(grupo.negrito);

    const auto cabecalho = p.celulas.value(QStringLiteral("B4"));
    EXPECT_EQ(cabecalho.valor, QStringLiteral("Valor"));
    EXPECT_EQ(cabecalho.fundo, QStringLiteral("FF8080FF"));
    EXPECT_EQ(cabecalho.alinhamento, QStringLiteral("center"));
    EXPECT_EQ(cabecalho.tamanho, 10);

    const auto numero = p.celulas.value(QStringLiteral("B5"));
    EXPECT_TRUE(numero.numero);
    EXPECT_EQ(numero.valor.toDouble(), 1234.5);
    EXPECT_EQ(numero.formato, QStringLiteral("0.00"));
    EXPECT_EQ(numero.tamanho, 8);
    EXPECT_FALSE(p.celulas.value(QStringLiteral("C5")).numero); // unmarked: text
    EXPECT_FALSE(p.celulas.contains(QStringLiteral("B11")));    // null: empty cell

    const auto total = p.celulas.value(QStringLiteral("A16"));
    EXPECT_EQ(total.valor, QStringLiteral("Total Geral de Pendência : 0,30"));
    EXPECT_EQ(total.fundo, QStringLiteral("FFA2CD5A"));
    EXPECT_EQ(total.alinhamento, QStringLiteral("right"));
    EXPECT_TRUE(total.negrito);
    EXPECT_EQ(p.celulas.value(QStringLiteral("A15")).valor, QStringLiteral("Total Geral de Valor : 1.234,70"));
    EXPECT_GT(p.larguras.value(1), p.larguras.value(3)); // "Lápis & Borracha" against "Qtde"

    QStringList colunas;
    for (int i = 1; i <= 30; ++i)
        colunas << QStringLiteral("%1 \"C%1\"").arg(i);
    D500REL::Relatorio largo;
    largo.sql = QStringLiteral("SELECT ") + colunas.join(QStringLiteral(", ")) + QStringLiteral(" FROM RDB$DATABASE");
    largo.titulo = QStringLiteral("Largo");
    ASSERT_TRUE(rel->gravaExcel(largo, arquivo));
    LeitorPlanilha p2;
    ASSERT_TRUE(p2.le(arquivo, &erro));
    EXPECT_EQ(p2.unioes.value(0), QStringLiteral("A1:AD1"));
    EXPECT_EQ(p2.celulas.value(QStringLiteral("AD3")).valor, QStringLiteral("C30"));
}

// Guards the seller's way to the workbook: saved under the reports folder with the report's
// name, opened by the desktop; when nothing opens it or it cannot be written, the message names
// the file.
TEST_F(Relatorio, planilhaDoVendedorSalvaEAberta)
{
    D500REL::Relatorio r = leCaso(QStringLiteral(KORVEX_CASOS_RELATORIO "/sem_quebra_sem_totais"));
    QString aberto;
    rel->abreArquivo = [&aberto](const QString &arquivo) {
        aberto = arquivo;
        return false;
    };
    const QString arquivo = rel->toEXCEL(r);
    EXPECT_EQ(aberto, arquivo);
    EXPECT_TRUE(QFile::exists(arquivo));
    EXPECT_TRUE(arquivo.startsWith(QDir(saida.path()).filePath(QStringLiteral("Relatorios/Relação_Simples_"))));
    ASSERT_EQ(respostas.shown.size(), 1);
    EXPECT_EQ(respostas.lastText(), QStringLiteral("Versão do Ms-Excel Incompatível\n") + QDir::toNativeSeparators(arquivo));

    rel->pastaPrograma = QStringLiteral("/dev/null"); // no folder can be made there
    const QString semPasta = rel->toEXCEL(r);
    EXPECT_FALSE(QFile::exists(semPasta));
    EXPECT_EQ(respostas.lastText(), QStringLiteral("Versão do Ms-Excel Incompatível\n") + QDir::toNativeSeparators(semPasta));
}
