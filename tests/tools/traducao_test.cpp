#include "TraducaoScript.h"

#include <gtest/gtest.h>

namespace {

using Tipo = TraducaoScript::TipoColuna;

// Column types of a few central columns, as the server reads them from its catalogue.
Tipo tipos(const QString &tabela, const QString &coluna)
{
    if (coluna == u"DATPDF" || coluna == u"DATMOV")
        return Tipo::Data;
    if (coluna == u"OBSCLI" || coluna == u"SITPDF" || coluna == u"SENUSU" || coluna == u"RAZCLI")
        return Tipo::Texto;
    if (tabela.startsWith(u'F') && coluna.startsWith(QStringLiteral("COD")))
        return Tipo::Numero;
    return Tipo::Desconhecido;
}

} // namespace

// Guards against an order line reaching Firebird in the other dialect (sequence call, DUAL,
// day-first date read month first, '' for a numeric column).
TEST(TraducaoScript, LinhaDePedidoViraComandoFirebird)
{
    const TraducaoScript traducao(tipos);
    const QString linha = QStringLiteral(
        " INSERT INTO F530PDF (CODINT, CODEMP, DATPDF, OBSCLI, VENSUB, CODNOW)  SELECT SQCPDF1.NEXTVAL, "
        "'1','13/03/2024','cliente pediu 01/04/2024','','45364.5' FROM DUAL ");
    const TraducaoScript::Comando comando = traducao.traduz(linha);
    EXPECT_EQ(comando.tipo, TraducaoScript::TipoComando::Insercao);
    EXPECT_EQ(comando.tabela, QStringLiteral("F530PDF"));
    EXPECT_EQ(comando.colunas.size(), 6);
    EXPECT_EQ(comando.texto,
              QStringLiteral(" INSERT INTO F530PDF (CODINT, CODEMP, DATPDF, OBSCLI, VENSUB, CODNOW)  SELECT NEXT VALUE FOR "
                             "SQCPDF1, '1','13.03.2024','cliente pediu 01/04/2024',NULL,'45364.5' FROM RDB$DATABASE "));
}

// Guards against a text column that holds a date-looking value being rewritten as a date.
TEST(TraducaoScript, TextoComFormaDeDataFicaComoVeio)
{
    const TraducaoScript traducao(tipos);
    const QString linha =
        QStringLiteral(" INSERT INTO F510CLI (CODEMP, RAZCLI, OBSCLI)  SELECT '1','01/02/2024','02/03/2024' FROM DUAL ");
    EXPECT_EQ(traducao.traduz(linha).texto,
              QStringLiteral(" INSERT INTO F510CLI (CODEMP, RAZCLI, OBSCLI)  SELECT '1','01/02/2024','02/03/2024' "
                             "FROM RDB$DATABASE "));
}

// Guards against line breaks written as CHR calls failing in Firebird, and against an empty
// piece of a concatenation becoming NULL (which would blank the whole text).
TEST(TraducaoScript, QuebrasDeLinhaEConcatenacao)
{
    const TraducaoScript traducao(tipos);
    const QString linha = QStringLiteral(
        " INSERT INTO F510CLI (CODEMP, OBSCLI)  SELECT '1','O''Brien'||CHR(13)||CHR(10)||'' FROM DUAL ");
    EXPECT_EQ(traducao.traduz(linha).texto,
              QStringLiteral(" INSERT INTO F510CLI (CODEMP, OBSCLI)  SELECT '1','O''Brien'||ASCII_CHAR(13)||ASCII_CHAR(10)||'' "
                             "FROM RDB$DATABASE "));
}

// Guards against the words of the dialect being rewritten inside quoted values.
TEST(TraducaoScript, LiteraisNaoSaoTraduzidos)
{
    const TraducaoScript traducao(tipos);
    const QString linha = QStringLiteral(
        " INSERT INTO F510CLI (CODEMP, OBSCLI)  SELECT '1','X.NEXTVAL FROM DUAL CHR(9) ''aspas''' FROM DUAL ");
    EXPECT_EQ(traducao.traduz(linha).texto,
              QStringLiteral(" INSERT INTO F510CLI (CODEMP, OBSCLI)  SELECT '1','X.NEXTVAL FROM DUAL CHR(9) ''aspas''' "
                             "FROM RDB$DATABASE "));
}

// Guards against dates compared in a condition being read month first, and against an
// impossible date being turned into another day.
TEST(TraducaoScript, DatasEmCondicoesESemTipos)
{
    const TraducaoScript comTipos(tipos);
    EXPECT_EQ(comTipos.traduz(QStringLiteral("UPDATE F512MTF SET SITMOV = 'E' WHERE DATMOV = '05/12/2023'")).texto,
              QStringLiteral("UPDATE F512MTF SET SITMOV = 'E' WHERE DATMOV = '05.12.2023'"));

    const TraducaoScript semTipos;
    EXPECT_EQ(semTipos.traduz(QStringLiteral("INSERT INTO T (A, B) VALUES ('5/1/2024', '31/02/2024')")).texto,
              QStringLiteral("INSERT INTO T (A, B) VALUES ('05.01.2024', '31/02/2024')"));
    EXPECT_EQ(TraducaoScript::dataFirebird(QStringLiteral("29/02/2024 14:05")), QStringLiteral("29.02.2024 14:05:00"));
    EXPECT_TRUE(TraducaoScript::dataFirebird(QStringLiteral("29/02/2023")).isEmpty());
}

// Guards against the server executing what the notebook never writes: several statements on
// one line, an assignment it cannot check, or a line it cannot read.
TEST(TraducaoScript, FormaDoComandoParaAConferencia)
{
    const TraducaoScript traducao(tipos);
    const TraducaoScript::Comando senha = traducao.traduz(
        QStringLiteral("UPDATE F599USU SET EXPSEN = 'N', SENUSU = 'a;b' WHERE CODEMP = '1' AND CODUSU = '7'"));
    EXPECT_EQ(senha.tipo, TraducaoScript::TipoComando::Atualizacao);
    EXPECT_EQ(senha.tabela, QStringLiteral("F599USU"));
    EXPECT_EQ(senha.separadores, 0);
    ASSERT_EQ(senha.atribuicoes.size(), 2);
    EXPECT_EQ(senha.atribuicoes.at(1), std::make_pair(QStringLiteral("SENUSU"), QStringLiteral("a;b")));
    EXPECT_EQ(senha.outrasAtribuicoes, 0);

    const TraducaoScript::Comando duplo =
        traducao.traduz(QStringLiteral("UPDATE F599USU SET SENUSU = UPPER(NOMUSU); DELETE FROM F510CLI"));
    EXPECT_EQ(duplo.separadores, 1);
    EXPECT_EQ(duplo.outrasAtribuicoes, 1);

    EXPECT_EQ(traducao.traduz(QStringLiteral("DELETE FROM F510CLI")).tipo, TraducaoScript::TipoComando::Outro);
    EXPECT_THROW(traducao.traduz(QStringLiteral("UPDATE F510CLI SET RAZCLI = 'sem fim")), TraducaoScript::Erro);
}
