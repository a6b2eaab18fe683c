#include "CaixaMensagens.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "SqlText.h"
#include "U500CAD.h"

#include <QStringList>

const QString CaixaMensagens::kSelectMSGEnviadas = QStringLiteral(
    "SELECT DISTINCT M.CODMSG, P.nomdst, M.TITMSG, M.DATMSG, M.ENVMSG, M.DESMSG "
    "FROM F599MSG M, prc_lista_dst P "
    "WHERE M.CODEMP = P.CODEMP "
    "AND M.CODMSG = P.CODMSG "
    "AND M.CODEMP = :PCODEMP "
    "AND M.USUREM = :PCODUSU "
    "AND M.ENVMSG in ('N','E') "
    "ORDER BY M.DATMSG DESC");

const QString CaixaMensagens::kSelectUsuarios = QStringLiteral(
    "SELECT CODUSU, NOMUSU "
    "FROM F599MSU "
    "WHERE CODUSU > 0 "
    "AND CODEMP = :PCODEMP "
    "ORDER BY NOMUSU");

const QString CaixaMensagens::kSelectDestinatario = QStringLiteral(
    "SELECT M.*, U.NOMUSU "
    "FROM F599MDT M, F599MSU U "
    "WHERE M.CODUSU = U.CODUSU "
    "AND M.CODEMP = U.CODEMP "
    "AND M.CODEMP = :PCODEMP "
    "AND M.CODMSG = :PCODMSG "
    "ORDER BY U.NOMUSU");

const QString CaixaMensagens::kDeleteDestinatarios =
    QStringLiteral("DELETE FROM F599MDT WHERE CODEMP = :PCODEMP AND CODMSG = :PCODMSG");

const QString CaixaMensagens::kDeleteMensagem =
    QStringLiteral("DELETE FROM F599MSG WHERE CODEMP = :PCODEMP AND CODMSG = :PCODMSG");

const QString CaixaMensagens::kInsertMensagem = QStringLiteral(
    "INSERT INTO F599MSG (CODMSG, CODEMP, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG) "
    "VALUES (:PCODMSG, :PCODEMP, :PUSUREM, :PTITMSG, :PDESMSG, :PDATMSG, 'L', 'N')");

const QString CaixaMensagens::kUpdateMensagemLida = QStringLiteral(
    "UPDATE F599MSG SET SITMSG = 'A' WHERE SITMSG = 'N' AND CODEMP = :PCODEMP AND CODMSG = :PCODMSG");

namespace {

std::unique_ptr<TClientDataSetPlus> novoDataSet(D500DAT &dat, const QString &sql, const QString &tabela)
{
    auto ds = std::make_unique<TClientDataSetPlus>();
    ds->setConnection(&dat.cnxFirebird);
    ds->setCommandText(sql);
    ds->setTableName(tabela);
    return ds;
}

void reabre(TClientDataSetPlus &ds)
{
    ds.close();
    ds.open();
}

} // namespace

CaixaMensagens::CaixaMensagens(D500DAT &dat)
    : m_dat(dat)
    , m_recebidas(novoDataSet(dat, D500CAD::kSelectMSGRecebidas, QStringLiteral("F599MSG")))
    , m_enviadas(novoDataSet(dat, kSelectMSGEnviadas, QStringLiteral("F599MSG")))
    , m_usuarios(novoDataSet(dat, kSelectUsuarios, QStringLiteral("F599MSU")))
    , m_destinatario(novoDataSet(dat, kSelectDestinatario, QStringLiteral("F599MDT")))
{
}

CaixaMensagens::~CaixaMensagens() = default;

QVariantMap CaixaMensagens::chave(const QString &codMsg) const
{
    return {{QStringLiteral("PCODEMP"), m_dat.sessao.CODEMP}, {QStringLiteral("PCODMSG"), codMsg}};
}

void CaixaMensagens::abreListas()
{
    const QString emp = m_dat.sessao.CODEMP;
    m_usuarios->close();
    m_usuarios->setParam(QStringLiteral("PCODEMP"), emp);
    m_usuarios->open();
    m_recebidas->close();
    m_recebidas->setParam(QStringLiteral("PCODEMP"), emp);
    m_recebidas->setParam(QStringLiteral("PSITMSG"), QStringLiteral("%"));
    m_recebidas->open();
    m_enviadas->close();
    m_enviadas->setParam(QStringLiteral("PCODEMP"), emp);
    m_enviadas->setParam(QStringLiteral("PCODUSU"), m_dat.sessao.CODUSU);
    m_enviadas->open();
}

void CaixaMensagens::reabreDestinatario()
{
    m_destinatario->close();
    m_destinatario->setParam(QStringLiteral("PCODEMP"), m_dat.sessao.CODEMP);
    m_destinatario->setParam(QStringLiteral("PCODMSG"), m_codMensagem);
    m_destinatario->open();
}

CaixaMensagens::Conteudo CaixaMensagens::novaMensagem()
{
    m_codMensagem = m_dat.proximoCodigo(QStringLiteral("F599MSG"), QStringLiteral("CODMSG"),
                                        QStringLiteral("CODEMP = ") + SqlText::quoted(m_dat.sessao.CODEMP));
    m_marcaLida = false;
    m_descartaDestinatarios = true;
    reabreDestinatario();
    Conteudo c;
    c.remetente = m_dat.sessao.NOMUSU;
    c.editavel = true;
    return c;
}

std::optional<CaixaMensagens::Conteudo> CaixaMensagens::abreRecebida()
{
    if (!m_recebidas->active() || m_recebidas->isEmpty())
        return std::nullopt;
    m_codMensagem = m_recebidas->asString(QStringLiteral("CODMSG"));
    m_marcaLida = true;
    m_descartaDestinatarios = false;
    Conteudo c;
    c.remetente = m_recebidas->asString(QStringLiteral("NOMUSU"));
    c.assunto = m_recebidas->asString(QStringLiteral("TITMSG"));
    c.texto = m_recebidas->asString(QStringLiteral("DESMSG"));
    c.usuarioSelecionado = m_dat.sessao.CODUSU;
    reabre(*m_usuarios);
    m_destinatario->close();
    return c;
}

std::optional<CaixaMensagens::Conteudo> CaixaMensagens::abreEnviada()
{
    if (!m_enviadas->active() || m_enviadas->isEmpty())
        return std::nullopt;
    m_codMensagem = m_enviadas->asString(QStringLiteral("CODMSG"));
    m_marcaLida = false;
    m_descartaDestinatarios = false;
    Conteudo c;
    c.remetente = m_dat.sessao.NOMUSU;
    c.assunto = m_enviadas->asString(QStringLiteral("TITMSG"));
    c.texto = m_enviadas->asString(QStringLiteral("DESMSG"));
    c.editavel = m_enviadas->asString(QStringLiteral("ENVMSG")) == QLatin1String("N");
    reabreDestinatario();
    return c;
}

bool CaixaMensagens::ehDestinatario(const QString &codUsu) const
{
    TClientDataSetPlus &ds = *m_destinatario;
    for (ds.first(); !ds.eof(); ds.next())
        if (ds.asInteger(QStringLiteral("CODUSU")) == codUsu.toLongLong())
            return true;
    return false;
}

void CaixaMensagens::gravaDestinatario(const QString &codUsu)
{
    TClientDataSetPlus &ds = *m_destinatario;
    ds.append();
    ds.setValue(QStringLiteral("CODEMP"), m_dat.sessao.CODEMP);
    ds.setValue(QStringLiteral("CODMSG"), m_codMensagem);
    ds.setValue(QStringLiteral("CODUSU"), codUsu);
    ds.post();
}

CaixaMensagens::Recusa CaixaMensagens::adicionaUsuario(const QString &codUsu)
{
    bool numero = false;
    if (codUsu.toLongLong(&numero) < 1 || !numero)
        return {QStringLiteral("Selecione o USUÁRIO que receberá a mensagem!"), TipoMensagem::Informacao,
                CorMensagem::Azul};
    if (!m_destinatario->active())
        reabreDestinatario();
    // The recipient key allows one row per user: a second addition leaves the list as it is.
    if (!ehDestinatario(codUsu))
        gravaDestinatario(codUsu);
    reabreDestinatario();
    return {};
}

CaixaMensagens::Recusa CaixaMensagens::adicionaTodos()
{
    if (!m_usuarios->active() || m_usuarios->isEmpty())
        return {QStringLiteral("Nenhum usuário para enviar mensagem!"), TipoMensagem::Informacao, CorMensagem::Azul};
    if (!m_destinatario->active())
        reabreDestinatario();
    QStringList codigos;
    for (m_usuarios->first(); !m_usuarios->eof(); m_usuarios->next())
        codigos.append(m_usuarios->asString(QStringLiteral("CODUSU")));
    m_usuarios->first();
    for (const QString &cod : std::as_const(codigos))
        if (!ehDestinatario(cod))
            gravaDestinatario(cod);
    reabreDestinatario();
    return {};
}

void CaixaMensagens::removeDestinatario()
{
    if (m_destinatario->active() && !m_destinatario->isEmpty())
        m_destinatario->deleteRecord();
}

void CaixaMensagens::limpaDestinatarios()
{
    m_dat.cnxFirebird.execute(kDeleteDestinatarios, chave(m_codMensagem));
    reabreDestinatario();
}

CaixaMensagens::Recusa CaixaMensagens::envia(const QString &assunto, const QString &texto, const QDate &hoje)
{
    if (!m_destinatario->active() || m_destinatario->isEmpty())
        return {QStringLiteral("Necessário pelo menos um USUÁRIO que receberá a mensagem!"), TipoMensagem::Aviso,
                CorMensagem::Vermelho};
    if (assunto.trimmed().isEmpty())
        return {QStringLiteral("Digite o ASSUNTO da mensagem!"), TipoMensagem::Aviso, CorMensagem::Vermelho};
    if (assunto.size() > kTamanhoAssunto || texto.size() > kTamanhoTexto)
        return {QStringLiteral("O ASSUNTO tem no máximo %1 caracteres e a MENSAGEM no máximo %2!")
                    .arg(kTamanhoAssunto)
                    .arg(kTamanhoTexto),
                TipoMensagem::Aviso, CorMensagem::Vermelho};
    if (const QString caractere = SqlText::unstorableCharacter(assunto + texto); !caractere.isEmpty())
        return {QStringLiteral("O caractere \"%1\" não pode ser usado no ASSUNTO nem na MENSAGEM!").arg(caractere),
                TipoMensagem::Aviso, CorMensagem::Vermelho};
    // The old copy of an edited message and the new one change together: a failed insert must
    // not leave the message deleted.
    FirebirdConnection &cnx = m_dat.cnxFirebird;
    TransactionGuard transacao(cnx);
    cnx.execute(kDeleteMensagem, chave(m_codMensagem));
    QVariantMap valores = chave(m_codMensagem);
    valores.insert(QStringLiteral("PUSUREM"), m_dat.sessao.CODUSU);
    valores.insert(QStringLiteral("PTITMSG"), assunto);
    valores.insert(QStringLiteral("PDESMSG"), texto);
    valores.insert(QStringLiteral("PDATMSG"), hoje);
    cnx.execute(kInsertMensagem, valores);
    transacao.commit();
    m_descartaDestinatarios = false;
    return {};
}

void CaixaMensagens::volta()
{
    if (m_marcaLida)
        m_dat.cnxFirebird.execute(kUpdateMensagemLida, chave(m_codMensagem));
    if (m_descartaDestinatarios) {
        m_dat.cnxFirebird.execute(kDeleteDestinatarios, chave(m_codMensagem));
        m_descartaDestinatarios = false;
    }
}

QString CaixaMensagens::perguntaExclusao() const
{
    if (!m_enviadas->active() || m_enviadas->isEmpty()
        || m_enviadas->asString(QStringLiteral("ENVMSG")) != QLatin1String("N"))
        return {};
    return QStringLiteral("Deseja realmente EXCLUIR a mensagem : ") + m_enviadas->asString(QStringLiteral("TITMSG"))
        + QStringLiteral(" ?");
}

void CaixaMensagens::exclui()
{
    if (perguntaExclusao().isEmpty())
        return;
    const QString codMsg = m_enviadas->asString(QStringLiteral("CODMSG"));
    FirebirdConnection &cnx = m_dat.cnxFirebird;
    TransactionGuard transacao(cnx);
    cnx.execute(kDeleteDestinatarios, chave(codMsg));
    cnx.execute(kDeleteMensagem, chave(codMsg));
    transacao.commit();
    reabre(*m_enviadas);
}
