#include "AcaoInterrompida.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "Formatos.h"
#include "ScriptedAnswerer.h"
#include "TestDatabase.h"
#include "TextCodec.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// A data module over a fresh database; the script runs before the connection opens.
struct Module
{
    explicit Module(const QString &script = QString())
    {
        if (!script.isEmpty())
            db.runScript(script);
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&answerer);
        db.open(dat->cnxFirebird);
    }
    ~Module() { Formatos::setStatementForm(false); }

    TestDatabase db;
    ScriptedAnswerer answerer;
    std::unique_ptr<D500DAT> dat;
};

const QString kTypedPasswordCharacters = QStringLiteral(
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
    u" !@#$%&*-_.,+=?()/:;<>[]~áàâãéêíóôõúçÁÀÂÃÉÊÍÓÔÕÚÇ");

} // namespace

// ---------------------------------------------------------------- digits

// Guards against non-ASCII digits or signs slipping into a code.
TEST(Routines, SomenteNumerosKeepsDecimalDigitsInOrder)
{
    EXPECT_EQ(D500DAT::somenteNumeros(QStringLiteral("529.982.247-25")), QStringLiteral("52998224725"));
    EXPECT_EQ(D500DAT::somenteNumeros(QStringLiteral(u"-3,5a\u0663")), QStringLiteral("35"));
    EXPECT_EQ(D500DAT::somenteNumeros(QString()), QString());
}

// Guards against a wrong digit sum, and against a long number overflowing the sum.
TEST(Routines, ReduzDigitos)
{
    EXPECT_EQ(D500DAT::reduzDigitos(QStringLiteral("987")), QStringLiteral("6"));
    EXPECT_EQ(D500DAT::reduzDigitos(QString()), QStringLiteral("0"));
    EXPECT_EQ(D500DAT::reduzDigitos(QStringLiteral("a5")), QStringLiteral("5"));
    EXPECT_EQ(D500DAT::reduzDigitos(QStringLiteral("0")), QStringLiteral("0"));
    EXPECT_EQ(D500DAT::reduzDigitos(QString(400, QLatin1Char('9'))), QStringLiteral("9"));
}

// Guards against refusing well-formed CPFs (masked, missing leading zeros) or accepting bad ones.
TEST(Routines, ValidaCpf)
{
    EXPECT_TRUE(D500DAT::validaCpfCnpj(QStringLiteral("F"), QStringLiteral("529.982.247-25")));
    EXPECT_FALSE(D500DAT::validaCpfCnpj(QStringLiteral("F"), QStringLiteral("529.982.247-26")));
    EXPECT_TRUE(D500DAT::validaCpfCnpj(QStringLiteral("F"), QStringLiteral("1234567890")));  // 10 digits
    EXPECT_TRUE(D500DAT::validaCpfCnpj(QStringLiteral("F"), QStringLiteral("123456797")));   // 9 digits
    EXPECT_TRUE(D500DAT::validaCpfCnpj(QStringLiteral("F"), QStringLiteral("00000000000")));
    EXPECT_FALSE(D500DAT::validaCpfCnpj(QStringLiteral("F"), QStringLiteral("12345678")));   // 8 digits
    EXPECT_FALSE(D500DAT::validaCpfCnpj(QStringLiteral("F"), QStringLiteral("052998224725"))); // 12 digits
    EXPECT_FALSE(D500DAT::validaCpfCnpj(QStringLiteral("F"), QString()));
}

// Guards against the CNPJ weights being wrong and against any kind but "F" checking a CPF.
TEST(Routines, ValidaCnpj)
{
    EXPECT_TRUE(D500DAT::validaCpfCnpj(QStringLiteral("J"), QStringLiteral("11.222.333/0001-81")));
    EXPECT_TRUE(D500DAT::validaCpfCnpj(QStringLiteral("X"), QStringLiteral("11222333000181")));
    EXPECT_FALSE(D500DAT::validaCpfCnpj(QStringLiteral("J"), QStringLiteral("11.222.333/0001-82")));
    EXPECT_TRUE(D500DAT::validaCpfCnpj(QStringLiteral("J"), QStringLiteral("1234567000195")));   // 13 digits
    EXPECT_TRUE(D500DAT::validaCpfCnpj(QStringLiteral("J"), QStringLiteral("123456000149")));    // 12 digits
    EXPECT_FALSE(D500DAT::validaCpfCnpj(QStringLiteral("J"), QStringLiteral("111222333000181"))); // 15 digits
    EXPECT_FALSE(D500DAT::validaCpfCnpj(QStringLiteral("J"), QStringLiteral("52998224725")));     // a CPF
    EXPECT_FALSE(D500DAT::validaCpfCnpj(QStringLiteral("f"), QStringLiteral("529.982.247-25")));  // kind is exact
}

// ---------------------------------------------------------------- release code

// Guards against the order window and the supervisor console disagreeing on a computed code.
TEST(Routines, GeraSenhaLiberacaoComputesFromOrderSellerAndDate)
{
    // a = 10 * m reverses to m, so the code is m + a + (s + a) with s = 1 * 1 + 2024.
    const int m = kMultiplicadorLiberacao;
    EXPECT_EQ(D500DAT::geraSenhaLiberacao(QStringLiteral("10"), QStringLiteral("0"), QDate(2024, 1, 1)),
              QString::number(m + 10 * m + (2025 + 10 * m)));

    const int a = 123 * m + 45;
    QString reversed = QString::number(a);
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(D500DAT::geraSenhaLiberacao(QStringLiteral("123"), QStringLiteral("45"), QDate(2024, 3, 15)),
              QString::number(reversed.toInt() + a + (15 * 3 + 2024 + a)));
    // The date takes part: another day gives another code.
    EXPECT_NE(D500DAT::geraSenhaLiberacao(QStringLiteral("123"), QStringLiteral("45"), QDate(2024, 3, 15)),
              D500DAT::geraSenhaLiberacao(QStringLiteral("123"), QStringLiteral("45"), QDate(2024, 3, 16)));
}

// Guards against a crash or a garbage code where the code cannot be computed.
TEST(Routines, GeraSenhaLiberacaoFallsBack)
{
    const QString fallback = QString::fromLatin1(kSenhaLiberacaoPadrao);
    EXPECT_EQ(fallback.size(), 6);
    const QDate day(2024, 5, 20);
    EXPECT_EQ(D500DAT::geraSenhaLiberacao(QString(), QStringLiteral("45"), day), fallback);
    EXPECT_EQ(D500DAT::geraSenhaLiberacao(QStringLiteral("12a"), QStringLiteral("45"), day), fallback);
    EXPECT_EQ(D500DAT::geraSenhaLiberacao(QStringLiteral("99999999999"), QStringLiteral("1"), day), fallback);
    // A negative product reverses to a text that is not an integer.
    EXPECT_EQ(D500DAT::geraSenhaLiberacao(QStringLiteral("-5"), QStringLiteral("0"), day), fallback);
    // Reversed product beyond the 32-bit range: 1000000009 reads back as 9000000001.
    const int order = (1000000009 - 1) / kMultiplicadorLiberacao;
    const int seller = 1000000009 - order * kMultiplicadorLiberacao;
    EXPECT_EQ(D500DAT::geraSenhaLiberacao(QString::number(order), QString::number(seller), day), fallback);
}

// ---------------------------------------------------------------- password scrambling

// Guards against alphabets that break the swap rules or cannot be stored in the 1252 column.
TEST(Routines, ScramblingAlphabetsHaveTheAgreedForm)
{
    const auto &alphabets = D500DAT::alfabetosSenha();
    QHash<QChar, int> occurrences;
    for (int k = 0; k < 4; ++k) {
        const QString &alphabet = alphabets[k];
        ASSERT_EQ(alphabet.size(), 39) << k;
        EXPECT_TRUE(TextCodec::isWindows1252(alphabet)) << k;
        QSet<QChar> seen;
        int ascii = 0;
        for (const QChar c : alphabet) {
            EXPECT_FALSE(seen.contains(c)) << "repeat in alphabet " << k;
            seen.insert(c);
            ++occurrences[c];
            if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
                ++ascii;
        }
        if (k == 0 || k == 2)
            EXPECT_GE(ascii, 37) << k; // almost only printable ASCII
        else
            EXPECT_GE(39 - ascii, 30) << k; // mostly above 127
    }
    int shared = 0;
    for (auto it = occurrences.cbegin(); it != occurrences.cend(); ++it)
        shared += it.value() > 1 ? 1 : 0;
    EXPECT_EQ(shared, 1);
}

// Guards against a typed password that cannot be typed again after it is stored scrambled.
TEST(Routines, EmbaralhaSenhaRoundTripsEveryTypedCharacter)
{
    for (const QChar c : kTypedPasswordCharacters) {
        if (c == QLatin1Char(' '))
            continue; // a blank only inside a password, below
        for (const QString &password : {QString(c), QStringLiteral("x") + c + QStringLiteral("y"),
                                        QStringLiteral("xy") + c}) {
            const QString scrambled = D500DAT::embaralhaSenha(password);
            EXPECT_EQ(scrambled.size(), password.size());
            EXPECT_EQ(D500DAT::embaralhaSenha(scrambled), password) << QString(c).toStdString();
            EXPECT_TRUE(D500DAT::senhaPreservada(password));
        }
    }
    const QString sentence = QStringLiteral(u"Minha Senha é 2024 & Cia.");
    EXPECT_NE(D500DAT::embaralhaSenha(sentence), sentence);
    EXPECT_EQ(D500DAT::embaralhaSenha(D500DAT::embaralhaSenha(sentence)), sentence);
    EXPECT_EQ(D500DAT::embaralhaSenha(QString()), QString());
}

// Guards against the blank handling drifting from the server's: trailing blanks ignored,
// leading blanks processed at the cost of as many characters at the end.
TEST(Routines, EmbaralhaSenhaBlanksAtTheEnds)
{
    EXPECT_EQ(D500DAT::embaralhaSenha(QStringLiteral("abc  ")), D500DAT::embaralhaSenha(QStringLiteral("abc")));
    EXPECT_EQ(D500DAT::embaralhaSenha(QStringLiteral("abc\t")), D500DAT::embaralhaSenha(QStringLiteral("abc")));
    const QString leading = D500DAT::embaralhaSenha(QStringLiteral("  abcd"));
    EXPECT_EQ(leading.size(), 4);
    EXPECT_EQ(D500DAT::embaralhaSenha(leading), QStringLiteral("  ab")); // "cd" dropped
    EXPECT_FALSE(D500DAT::senhaPreservada(QStringLiteral(" abc")));
    EXPECT_FALSE(D500DAT::senhaPreservada(QStringLiteral("abc ")));
}

// Guards against characters of no alphabet being kept (or crashing) instead of dropped.
TEST(Routines, EmbaralhaSenhaDropsForeignCharacters)
{
    EXPECT_EQ(D500DAT::embaralhaSenha(QStringLiteral("\"{\\}")), QString());
    const QString scrambled = D500DAT::embaralhaSenha(QStringLiteral(u"a\"b\u4E2Dc"));
    EXPECT_EQ(scrambled.size(), 3);
    EXPECT_FALSE(D500DAT::senhaPreservada(QStringLiteral("a\"b")));
}

// ---------------------------------------------------------------- package moment

// Guards against an off-by-one origin or a lost time of day in the package moment.
TEST(Routines, MomentoNumeroCountsDaysSince18991230)
{
    EXPECT_DOUBLE_EQ(D500DAT::momentoNumero(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(D500DAT::momentoNumero(QDateTime(QDate(2024, 1, 1), QTime(12, 0))), 45292.5);
}

// ---------------------------------------------------------------- proximoCodigo

// Guards against a wrong next code: empty condition result, signs, large codes, the condition.
TEST(RoutinesDatabase, ProximoCodigo)
{
    Module m(QStringLiteral(
        "CREATE TABLE TSTCOD (CODEMP NUMERIC(15,0), CODPDF NUMERIC(15,0), CODINT INTEGER);\n"
        "INSERT INTO TSTCOD VALUES (1, 12, 5);\n"
        "INSERT INTO TSTCOD VALUES (2, -3, -3);\n"
        "INSERT INTO TSTCOD VALUES (3, 999999999999999, 9);\n"));
    D500DAT &dat = *m.dat;
    EXPECT_EQ(dat.proximoCodigo(QStringLiteral("TSTCOD"), QStringLiteral("CODPDF"), QStringLiteral("CODEMP = 9")),
              QStringLiteral("1"));
    EXPECT_EQ(dat.proximoCodigo(QStringLiteral("TSTCOD"), QStringLiteral("CODPDF"), QStringLiteral("CODEMP = 1")),
              QStringLiteral("13"));
    EXPECT_EQ(dat.proximoCodigo(QStringLiteral("TSTCOD"), QStringLiteral("CODPDF"), QStringLiteral("CODEMP = 2")),
              QStringLiteral("4"));
    EXPECT_EQ(dat.proximoCodigo(QStringLiteral("TSTCOD"), QStringLiteral("CODINT"), QStringLiteral("CODEMP = 2")),
              QStringLiteral("4"));
    EXPECT_EQ(dat.proximoCodigo(QStringLiteral("TSTCOD"), QStringLiteral("CODPDF"), QStringLiteral("CODEMP = 3")),
              QStringLiteral("1000000000000000"));
    EXPECT_EQ(dat.proximoCodigo(QStringLiteral("TSTCOD"), QStringLiteral("CODINT"), QStringLiteral("1 = 1")),
              QStringLiteral("10"));
    EXPECT_THROW(dat.proximoCodigo(QStringLiteral("NAOEXISTE"), QStringLiteral("X"), QStringLiteral("1 = 1")),
                 DatabaseError);
}

// ---------------------------------------------------------------- geraInsercoes

namespace {
const QString kPedidos = QStringLiteral(
    "CREATE TABLE TSTPED (CODPDF INTEGER, NOMCLI VARCHAR(60), OBSPDF VARCHAR(200),"
    " VLRTOT NUMERIC(15,2), QTDPRO NUMERIC(15,3), DATPDF DATE, DATHOR TIMESTAMP, SITPDF CHAR(1));\n"
    "INSERT INTO TSTPED VALUES (1, 'O''Brien', 'a' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'b',"
    " 1234.5, 2.125, '2024-03-05', '2024-03-05 14:30:00', 'D');\n"
    "INSERT INTO TSTPED VALUES (2, '  x  ', 'fim' || ASCII_CHAR(13) || ASCII_CHAR(10),"
    " 0.1, NULL, NULL, NULL, 'D');\n"
    "INSERT INTO TSTPED VALUES (3, NULL, ASCII_CHAR(9) || 'lf' || ASCII_CHAR(10) || 'dentro' || ASCII_CHAR(13),"
    " -7.25, 1000000, '2024-12-31', '2024-02-29 23:59:59', 'D');\n");
const QString kSelectPedidos = QStringLiteral(
    "SELECT CODPDF, NOMCLI, OBSPDF, VLRTOT, QTDPRO, DATPDF, DATHOR, SITPDF FROM TSTPED ORDER BY CODPDF");
} // namespace

// Guards the exact line shape the server executes: sequence, CODNOW and moment, quoting, line
// breaks, trimming, nulls, numbers with ".", dates and timestamps as dd/mm/yyyy.
TEST(RoutinesDatabase, GeraInsercoesWithSequenceAndMoment)
{
    Module m(kPedidos);
    D500DAT &dat = *m.dat;
    dat.scriptEnvio.append(QStringLiteral("linha anterior"));
    ASSERT_TRUE(dat.geraInsercoes(QStringLiteral("F530PDF"), QStringLiteral("SQCPDF1"), 45292.4309042013889,
                                  kSelectPedidos,
                                  QStringLiteral("CODINT, CODPDF, NOMCLI, OBSPDF, VLRTOT, QTDPRO, DATPDF, DATHOR, SITPDF")));
    const QString head = QStringLiteral(
        " INSERT INTO F530PDF (CODINT, CODPDF, NOMCLI, OBSPDF, VLRTOT, QTDPRO, DATPDF, DATHOR, SITPDF, CODNOW) "
        " SELECT SQCPDF1.NEXTVAL, ");
    ASSERT_EQ(dat.scriptEnvio.size(), 4);
    EXPECT_EQ(dat.scriptEnvio.at(0), QStringLiteral("linha anterior"));
    EXPECT_EQ(dat.scriptEnvio.at(1),
              head + QStringLiteral("'1','O''Brien','a'||CHR(13)||CHR(10)||'b','1234.5','2.125',"
                                    "'05/03/2024','05/03/2024','D','45292.4309042014' FROM DUAL "));
    EXPECT_EQ(dat.scriptEnvio.at(2),
              head + QStringLiteral("'2','x','fim'||CHR(13)||CHR(10)||'','0.1','','','','D','45292.4309042014' FROM DUAL "));
    // A lone line feed or carriage return inside a value must not split the script line.
    EXPECT_EQ(dat.scriptEnvio.at(3),
              head + QStringLiteral("'3','','lf'||CHR(10)||'dentro','-7.25','1000000','31/12/2024','29/02/2024',"
                                    "'D','45292.4309042014' FROM DUAL "));
    EXPECT_TRUE(m.answerer.shown.isEmpty());
    EXPECT_FALSE(Formatos::statementForm());
}

// Guards against a sequence call or CODNOW written when none was asked, and against rows
// appearing from an empty query.
TEST(RoutinesDatabase, GeraInsercoesWithoutSequenceOrMoment)
{
    Module m(kPedidos);
    D500DAT &dat = *m.dat;
    ASSERT_TRUE(dat.geraInsercoes(QStringLiteral("F599MSG"), QString(), 0,
                                  QStringLiteral("SELECT CODPDF, SITPDF FROM TSTPED WHERE CODPDF = 2"),
                                  QStringLiteral("CODINT, SITMSG")));
    ASSERT_EQ(dat.scriptEnvio.size(), 1);
    EXPECT_EQ(dat.scriptEnvio.at(0),
              QStringLiteral(" INSERT INTO F599MSG (CODINT, SITMSG)  SELECT '2','D' FROM DUAL "));

    ASSERT_TRUE(dat.geraInsercoes(QStringLiteral("F599MSG"), QStringLiteral("SQCMSG1"), 45292.5,
                                  QStringLiteral("SELECT CODPDF FROM TSTPED WHERE 1 = 0"), QStringLiteral("A, B")));
    EXPECT_EQ(dat.scriptEnvio.size(), 1);
}

// Guards the failure path: the two boxes, nothing appended, separators back, caller goes on.
TEST(RoutinesDatabase, GeraInsercoesReportsAFailingQuery)
{
    Module m(kPedidos);
    D500DAT &dat = *m.dat;
    EXPECT_FALSE(dat.geraInsercoes(QStringLiteral("F530PDF"), QString(), 0,
                                   QStringLiteral("SELECT X FROM TABELA_INEXISTENTE"), QStringLiteral("X")));
    EXPECT_TRUE(dat.scriptEnvio.isEmpty());
    ASSERT_EQ(m.answerer.shown.size(), 2);
    EXPECT_EQ(m.answerer.shown.at(0).text, QString());
    EXPECT_TRUE(m.answerer.shown.at(1).text.contains(QStringLiteral("TABELA_INEXISTENTE")))
        << m.answerer.shown.at(1).text.toStdString();
    EXPECT_FALSE(Formatos::statementForm());

    // The next table of the package still goes.
    EXPECT_TRUE(dat.geraInsercoes(QStringLiteral("F530PDF"), QString(), 0,
                                  QStringLiteral("SELECT CODPDF FROM TSTPED WHERE CODPDF = 1"), QStringLiteral("CODPDF")));
    EXPECT_EQ(dat.scriptEnvio.size(), 1);
}

// ---------------------------------------------------------------- messages and actions

// Guards against an unhandled failure escaping the handler, or being shown other than as the
// one generic error box; and against a refusal showing a second box.
TEST(RoutinesDatabase, ExecutaAcaoCatchesAtTheHandlerBoundary)
{
    Module m;
    D500DAT &dat = *m.dat;
    bool ran = false;
    EXPECT_TRUE(dat.executaAcao([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(m.answerer.shown.isEmpty());

    EXPECT_FALSE(dat.executaAcao([&] {
        dat.ajustaSeparadores(true);
        dat.cnxFirebird.execute(QStringLiteral("DELETE FROM TABELA_INEXISTENTE"));
    }));
    ASSERT_EQ(m.answerer.shown.size(), 1);
    EXPECT_EQ(m.answerer.shown.at(0).kind, TipoMensagem::Erro);
    EXPECT_EQ(m.answerer.shown.at(0).colour, CorMensagem::Vermelho);
    EXPECT_EQ(m.answerer.shown.at(0).buttons, BotoesMensagem::Ok);
    EXPECT_TRUE(m.answerer.shown.at(0).text.contains(QStringLiteral("TABELA_INEXISTENTE")));
    EXPECT_FALSE(Formatos::statementForm());

    EXPECT_FALSE(dat.executaAcao([] { throw AcaoInterrompida(); }));
    EXPECT_EQ(m.answerer.shown.size(), 1);
    EXPECT_FALSE(dat.executaAcao([] { throw std::runtime_error("falhou"); }));
    EXPECT_EQ(m.answerer.lastText(), QStringLiteral("falhou"));
}

// Guards against a headless run blocking on a box nobody can answer, or saying Yes for the user.
TEST(Routines, ExibeMensagemWithoutPresenterAnswersOkOrNo)
{
    D500DAT dat;
    EXPECT_EQ(dat.exibeMensagem(QStringLiteral("Aviso de teste"), TipoMensagem::Aviso, CorMensagem::Vermelho),
              RespostaMensagem::Ok);
    EXPECT_EQ(dat.exibeMensagem(QStringLiteral("Confirma?"), TipoMensagem::Confirmacao, CorMensagem::Azul,
                                BotoesMensagem::SimNao),
              RespostaMensagem::Nao);
    EXPECT_EQ(D500DAT::instance(), &dat);
}

// ---------------------------------------------------------------- session

// Guards against a previous user's values surviving when the table is empty.
TEST(RoutinesDatabase, CarregaUsuarioWithoutRowGivesDefaults)
{
    Module m;
    D500DAT &dat = *m.dat;
    Sessao &s = dat.sessao;
    s.CODUSU = QStringLiteral("9");
    s.CODVEN = QStringLiteral("9");
    s.SLDFLX = 5;
    s.EXPSEN = QStringLiteral("S");
    s.EXPANT = QStringLiteral("S");
    s.usuarioSupervisor = true;
    dat.carregaUsuario();
    EXPECT_TRUE(s.CODUSU.isEmpty());
    EXPECT_TRUE(s.CODVEN.isEmpty());
    EXPECT_TRUE(s.CODEMP.isEmpty());
    EXPECT_EQ(s.SLDFLX, 0.0);
    EXPECT_EQ(s.EXPSEN, QStringLiteral("N"));
    EXPECT_EQ(s.EXPANT, QStringLiteral("N"));
    EXPECT_FALSE(s.usuarioSupervisor);
}

// Guards against codes read as "12.0" or with noise, and nulls read as "0" instead of empty.
TEST(RoutinesDatabase, CarregaUsuarioFromFirstRow)
{
    Module m(QStringLiteral(
        "INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODCCU, CODEMP, CODVEN, CODSUP, HSTSRV, DATATL,"
        " HORATL, USASUP, SLDFLX, ACRTAB, ESTCID, DESRET, EXPSEN, EXPANT, SENANT) VALUES"
        " (7, 'maria', 'xyz', 3, 12, 345, NULL, 'servidor.local', '2024-03-05', '10:20:00', 'S', 1.13,"
        " 2.5, 'SP', NULL, 'S', 'N', 'old');\n"));
    D500DAT &dat = *m.dat;
    dat.carregaUsuario();
    const Sessao &s = dat.sessao;
    EXPECT_EQ(s.CODUSU, QStringLiteral("7"));
    EXPECT_EQ(s.NOMUSU, QStringLiteral("maria"));
    EXPECT_EQ(s.SENUSU, QStringLiteral("xyz"));
    EXPECT_EQ(s.CODCCU, QStringLiteral("3"));
    EXPECT_EQ(s.CODEMP, QStringLiteral("12"));
    EXPECT_EQ(s.CODVEN, QStringLiteral("345"));
    EXPECT_EQ(s.CODSUP, QString());
    EXPECT_EQ(s.HSTSRV, QStringLiteral("servidor.local"));
    EXPECT_TRUE(s.usuarioSupervisor);
    EXPECT_DOUBLE_EQ(s.SLDFLX, 1.13);
    EXPECT_DOUBLE_EQ(s.ACRTAB, 2.5);
    EXPECT_DOUBLE_EQ(s.DESRET, 0.0);
    EXPECT_EQ(s.ESTCID, QStringLiteral("SP"));
    EXPECT_EQ(s.EXPSEN, QStringLiteral("S"));
    EXPECT_EQ(s.EXPANT, QStringLiteral("N"));
    EXPECT_EQ(s.SENANT, QStringLiteral("old"));
}

// Guards the start-up fallback: an older user table refuses the full session but still gives
// the seven columns every file has.
TEST(RoutinesDatabase, OlderUserTableFallsBackToSevenColumns)
{
    Module m(QStringLiteral(
        "DROP TABLE F599USU;\n"
        "CREATE TABLE F599USU (CODUSU NUMERIC(15,0) NOT NULL, NOMUSU VARCHAR(30), SENUSU VARCHAR(30),"
        " CODCCU NUMERIC(15,0), CODEMP NUMERIC(15,0), CODVEN NUMERIC(15,0), HSTSRV VARCHAR(50));\n"
        "INSERT INTO F599USU VALUES (4, 'JOSE', 'abc', 2, 1, 88, '10.0.0.1');\n"));
    D500DAT &dat = *m.dat;
    EXPECT_THROW(dat.abreLogado(), DatabaseError);
    dat.carregaUsuarioMinimo();
    const Sessao &s = dat.sessao;
    EXPECT_EQ(s.CODUSU, QStringLiteral("4"));
    EXPECT_EQ(s.NOMUSU, QStringLiteral("JOSE"));
    EXPECT_EQ(s.SENUSU, QStringLiteral("abc"));
    EXPECT_EQ(s.HSTSRV, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(s.CODCCU, QStringLiteral("2"));
    EXPECT_EQ(s.CODVEN, QStringLiteral("88"));
    EXPECT_EQ(s.CODEMP, QStringLiteral("1"));
}
