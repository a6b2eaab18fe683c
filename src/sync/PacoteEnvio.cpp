#include "PacoteEnvio.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "OrcamentosSincronizacao.h"
#include "SqlText.h"

#include <exception>

namespace {

// Typed orders that are not budgets and have items. The items are matched on the whole order
// key: an order of the server with the same number must not lend its items to a typed one.
const QString kCondicaoPedidos = QStringLiteral(
    " FROM F530PDF P, F530IPF I"
    " WHERE P.CODEMP = I.CODEMP"
    " AND   P.CODPDF = I.CODPDF"
    " AND   P.CODINT = I.CODINT"
    " AND   P.SITPDF = 'D'"
    " AND   P.PDFORC = 'N'");

} // namespace

const QString PacoteEnvio::kSelectPedidos = QStringLiteral(
    "SELECT DISTINCT P.CODEMP, P.CODPDF, P.CODTAB, P.DATPDF, P.CODCLI, P.CODNOV, P.TOTPDF, P.TOTFLX,"
    " P.CODTRA, P.CODCON, P.CODOPE, 'D' AS SITPDF, P.CODVEN, P.OBSCLI, P.MOTCAN, P.SITFLX, P.RETPDV,"
    " P.VENSUB") + kCondicaoPedidos;

const QString PacoteEnvio::kSelectItens = QStringLiteral(
    "SELECT DISTINCT I.CODEMP, I.CODCCU, I.CODPDF, I.CODPRO, P.CODINT, I.DESPRO, I.UNDPRO, I.QTDPRO,"
    " I.VLRUNT, I.VLRTOT, I.USOFLX, I.QTDFAT, I.VLRFAT, I.FATPRO, I.MAXDCT, I.PRCVEN, I.PRCTAB, P.CODVEN,"
    " I.VLRSTB, I.TABCOS, I.CODCOS, I.SITIPF, I.SITFLX, I.CODPDV") + kCondicaoPedidos;

const QString PacoteEnvio::kSelectMensagensLidas =
    QStringLiteral("SELECT DISTINCT CODINT FROM F599MSG WHERE SITMSG = 'A' AND ENVMSG = 'R'");

const QString PacoteEnvio::kSelectAutorizacoes =
    QStringLiteral("SELECT DISTINCT P.CODEMP, P.CODCCU, P.CODPDV, P.AUTBON FROM F530BON P WHERE AUTBON <> 'P'");

const QString PacoteEnvio::kSelectMovimentosFlex = QStringLiteral(
    "SELECT DISTINCT CODMOV, CODEMP, CODSUP, CCUORI, VENORI,"
    " CCUDES, VENDES, DATMOV, TIPMOV, 'E' AS SITMOV,"
    " VLRMOV"
    " FROM F512MTF"
    " WHERE SITMOV = 'D'");

const QString PacoteEnvio::colunasPedidos = QStringLiteral(
    "CODINT, CODEMP, CODPDF, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, CODCON, CODOPE, "
    "SITPDF, CODVEN, OBSCLI, MOTCAN, SITFLX, RETPDV, VENSUB");

const QString PacoteEnvio::colunasItens = QStringLiteral(
    "CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX, QTDFAT, "
    "VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, CODVEN, VLRSTB, TABCOS, CODCOS, SITIPF, SITFLX, CODPDV");

const QString PacoteEnvio::colunasClientes = QStringLiteral(
    "CODEMP, CODVEN, CODNOV, CODCLI, RAZCLI, FANCLI, ENDEND, NUMEND, BAIEND, CEPEND, DDAEND, TEAEND, "
    "FONEMB, CNTEMB, EMLEMB, FONLIM, CNTLIM, EMLLIM, CPFCGC, NUMIES, CODTIP, DESCHK, STUCLI, OBSCLI, CODCID");

const QString PacoteEnvio::colunasMensagens =
    QStringLiteral("CODINT, USUREM, USUDES, TITMSG, DESMSG, CODEMP, SITMSG, ENVMSG, CODMSG");

const QString PacoteEnvio::colunasMovimentosFlex = QStringLiteral(
    "CODMOV, CODEMP, CODSUP, CCUORI, VENORI, CCUDES, VENDES, DATMOV, TIPMOV, SITMOV, VLRMOV");

QString PacoteEnvio::consultaClientes(const QString &codigoVendedor)
{
    return QStringLiteral("SELECT DISTINCT CODEMP, ") + SqlText::quoted(codigoVendedor)
        + QStringLiteral(" \"VEN\", CODNOV, CODCLI, RAZCLI, FANCLI, ENDEND, NUMEND, BAIEND, CEPEND, DDAEND,"
                         " TEAEND, FONEMB, CNTEMB, EMLEMB, FONLIM, CNTLIM, EMLLIM, CPFCGC, NUMIES, CODTIP,"
                         " DESCHK, STUCLI, OBSCLI, CODCID"
                         " FROM F510CLI"
                         " WHERE (STUCLI = 'A' OR STUCLI = 'N')");
}

QString PacoteEnvio::consultaMensagens(const QString &codigoEmpresa, const QString &codigoUsuario)
{
    return QStringLiteral("SELECT DISTINCT ") + SqlText::quoted(codigoUsuario)
        + QStringLiteral(" AS USUREM, D.CODUSU, M.TITMSG, M.DESMSG, M.CODEMP, 'N' AS SITMSG, 'E' AS ENV, M.CODMSG"
                         " FROM F599MSG M, F599MDT D"
                         " WHERE M.CODEMP = D.CODEMP"
                         " AND   M.CODMSG = D.CODMSG"
                         " AND   M.ENVMSG = 'N'"
                         " AND   M.CODEMP = ")
        + SqlText::quoted(codigoEmpresa);
}

QString PacoteEnvio::comandoSenha(const QString &senha, const QString &codigoEmpresa, const QString &codigoUsuario)
{
    return QStringLiteral("UPDATE F599USU SET EXPSEN = 'N', SENUSU = ") + SqlText::quoted(senha)
        + QStringLiteral(" WHERE CODEMP = ") + SqlText::quoted(codigoEmpresa) + QStringLiteral(" AND CODUSU = ")
        + SqlText::quoted(codigoUsuario);
}

QString PacoteEnvio::comandoSituacaoPedidos(const QString &codigoEmpresa, const QString &codigoVendedor)
{
    return QStringLiteral("UPDATE F530PDF SET SITPDF = 'L' WHERE CODEMP = ") + SqlText::quoted(codigoEmpresa)
        + QStringLiteral(" AND   CODNOV = 0 AND   SITPDF = 'D' AND  (CODVEN = ") + SqlText::quoted(codigoVendedor)
        + QStringLiteral(" OR VENSUB = ") + SqlText::quoted(codigoVendedor) + QStringLiteral(" )");
}

QString PacoteEnvio::comandoMensagensLidas(const QString &codigoEmpresa, const QString &codigoUsuario,
                                           const QStringList &codigos)
{
    return QStringLiteral("UPDATE F599MSG SET SITMSG = 'L' WHERE CODEMP = ") + codigoEmpresa
        + QStringLiteral(" AND   USUDES = ") + codigoUsuario + QStringLiteral(" AND   CODINT IN (")
        + codigos.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString PacoteEnvio::comandoAutorizacao(const QString &autorizacao, const QString &codigoPedido,
                                        const QString &codigoEmpresa)
{
    return QStringLiteral("UPDATE F030PDV SET AUTBON = ") + SqlText::quoted(autorizacao)
        + QStringLiteral(" WHERE CODPDV = ") + codigoPedido + QStringLiteral(" AND   CODEMP = ") + codigoEmpresa;
}

PacoteEnvio::PacoteEnvio(D500DAT &dat, OrcamentosSincronizacao &orcamentos, const QString &pasta)
    : m_dat(dat)
    , m_orcamentos(orcamentos)
    , m_pasta(pasta)
{
}

bool PacoteEnvio::geraPacoteEnvio(const QDateTime &momento)
{
    m_dat.scriptEnvio.clear();
    m_pedidosIncluidos = false;
    m_mensagensIncluidas = false;
    m_interrompido = false;
    if (m_dat.sessao.CODUSU.isEmpty())
        return false;

    const double momentoPacote = D500DAT::momentoNumero(momento);
    // A failure outside the guarded blocks and outside geraInsercoes ends the gathering with
    // the engine's message in the generic error box.
    m_interrompido = !m_dat.executaAcao([this, momentoPacote] { reuneDados(momentoPacote); });
    return !m_dat.scriptEnvio.isEmpty();
}

// Numbers reach the statements below as the dataset's text of a NUMERIC(15,0): plain digits.
void PacoteEnvio::reuneDados(double momento)
{
    const Sessao &s = m_dat.sessao;
    const QString &emp = s.CODEMP;
    const QString &usu = s.CODUSU;
    const QString &ven = s.CODVEN;
    QStringList &script = m_dat.scriptEnvio;

    // Pending password change.
    if (s.EXPSEN == QLatin1String("N") && s.EXPANT == QLatin1String("S"))
        script.append(comandoSenha(s.SENUSU, emp, usu));

    // Orders, then (when there is anything at all to send) their items and the server-side state.
    bool pedidosGerados =
        m_dat.geraInsercoes(QStringLiteral("F530PDF"), QStringLiteral("SQCPDF") + emp, momento, kSelectPedidos,
                            colunasPedidos);
    if (!script.isEmpty()) {
        try {
            pedidosGerados = m_dat.geraInsercoes(QStringLiteral("F530IPF"), QString(), momento, kSelectItens,
                                                 colunasItens)
                && pedidosGerados;
            script.append(comandoSituacaoPedidos(emp, ven));
        } catch (const std::exception &) {
            pedidosGerados = false;
        }
    }
    m_pedidosIncluidos = pedidosGerados;

    // Customers, new and changed, credited to the session's seller.
    m_dat.geraInsercoes(QStringLiteral("F510CLI"), QString(), momento, consultaClientes(ven), colunasClientes);

    // Outgoing messages: one server row per recipient, with the local number, by which the server
    // knows a message sent again after a broken exchange.
    m_mensagensIncluidas = m_dat.geraInsercoes(QStringLiteral("F599MSG"), QStringLiteral("SQCMSG") + emp, 0,
                                               consultaMensagens(emp, usu), colunasMensagens);

    // Read confirmations of received messages.
    try {
        TClientDataSetPlus &atualiza = *m_dat.cdsAtualiza;
        atualiza.close();
        atualiza.setCommandText(kSelectMensagensLidas);
        atualiza.open();
        QStringList codigos;
        for (atualiza.first(); !atualiza.eof(); atualiza.next()) {
            if (!atualiza.isNull(QStringLiteral("CODINT")))
                codigos.append(atualiza.asString(QStringLiteral("CODINT")));
        }
        atualiza.close();
        if (!codigos.isEmpty())
            script.append(comandoMensagensLidas(emp, usu, codigos));
    } catch (const std::exception &) {
        m_dat.cdsAtualiza->close();
    }

    // Flex movements typed here.
    m_dat.geraInsercoes(QStringLiteral("F512MTF"), QString(), momento, kSelectMovimentosFlex,
                        colunasMovimentosFlex);

    // Bonus-order decisions.
    TClientDataSetPlus &comando = *m_dat.cdsComando;
    comando.close();
    comando.setCommandText(kSelectAutorizacoes);
    comando.open();
    for (comando.first(); !comando.eof(); comando.next()) {
        script.append(comandoAutorizacao(comando.asString(QStringLiteral("AUTBON")),
                                         comando.asString(QStringLiteral("CODPDV")),
                                         comando.asString(QStringLiteral("CODEMP"))));
    }
    comando.close();

    // Budget orders stay here and cross the replacement in two files.
    m_orcamentos.salvaOrcamentos(m_pasta);
}
