#include "ConferenciaScript.h"

#include "ConsultaServidor.h"
#include "DatabaseError.h"
#include "EsquemaCentral.h"
#include "FirebirdConnection.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

using Tipo = FormaScript::Tipo;

// A code as the notebook writes it ("12", "12.0"), as the server keeps it ("12").
QString codigo(const std::optional<QString> &texto)
{
    static const QRegularExpression numero(QStringLiteral("^\\d{1,15}(\\.0*)?$"));
    if (!texto || !numero.match(texto->trimmed()).hasMatch())
        return QString();
    return QString::number(texto->trimmed().split(u'.').first().toLongLong());
}

class Recusa : public std::runtime_error
{
public:
    explicit Recusa(const QString &motivo) : std::runtime_error(motivo.toStdString()), texto(motivo) {}
    QString texto;
};

void exige(bool condicao, const QString &motivo)
{
    if (!condicao)
        throw Recusa(motivo);
}

// A day-first date of the script ("dd/mm/yyyy", maybe with a time) for a date column.
QVariant data(const QString &texto, TraducaoScript::TipoColuna tipo)
{
    const QString firebird = TraducaoScript::dataFirebird(texto);
    exige(!firebird.isEmpty(), QStringLiteral("data inválida \"%1\"").arg(texto));
    const QDateTime momento = QDateTime::fromString(firebird, firebird.size() > 10 ? QStringLiteral("dd.MM.yyyy HH:mm:ss")
                                                                                    : QStringLiteral("dd.MM.yyyy"));
    if (tipo == TraducaoScript::TipoColuna::DataHora)
        return momento;
    return momento.date();
}

} // namespace

ConferenciaScript::ConferenciaScript(FirebirdConnection &central, const UsuarioServidor &usuario,
                                     TraducaoScript::TiposColuna tipos)
    : m_central(central)
    , m_usuario(usuario)
    , m_tipos(std::move(tipos))
{
    const QVariantMap chave{{QStringLiteral("EMP"), usuario.CODEMP}, {QStringLiteral("USU"), usuario.CODUSU}};
    QSqlQuery consulta = ConsultaServidor::executa(
        m_central, QStringLiteral("SELECT FIRST 1 CODVEN, CODSUP, USASUP FROM F599USU WHERE CODEMP = :EMP AND CODUSU = :USU"),
        chave);
    if (!consulta.next())
        throw DatabaseError(QStringLiteral("Usuário %1 da empresa %2 não existe.").arg(usuario.CODUSU, usuario.CODEMP));
    m_vendedor = ConsultaServidor::codigo(consulta.value(0));
    m_supervisor = ConsultaServidor::codigo(consulta.value(1));
    m_usaSupervisor = consulta.value(2).toString().trimmed() == u"S";

    if (!m_vendedor.isEmpty()) {
        m_vendedores.insert(m_vendedor);
        QSqlQuery substituidos = ConsultaServidor::executa(
            m_central, QStringLiteral("SELECT CODVEN FROM F030SUB WHERE CODEMP = :EMP AND VENSUB = :VEN"),
            {{QStringLiteral("EMP"), usuario.CODEMP}, {QStringLiteral("VEN"), m_vendedor}});
        while (substituidos.next())
            m_vendedores.insert(ConsultaServidor::codigo(substituidos.value(0)));
    }
    // A supervisor works for every seller of the company, as its console lists them.
    if (m_usaSupervisor) {
        QSqlQuery vendedores = ConsultaServidor::executa(
            m_central, QStringLiteral("SELECT CODVEN FROM F512VEN WHERE CODEMP = :EMP AND CODVEN IS NOT NULL"),
            {{QStringLiteral("EMP"), usuario.CODEMP}});
        while (vendedores.next())
            m_vendedores.insert(ConsultaServidor::codigo(vendedores.value(0)));
    }
}

bool ConferenciaScript::permitido(const std::optional<QString> &vendedor) const
{
    const QString texto = codigo(vendedor);
    return !texto.isEmpty() && m_vendedores.contains(texto);
}

QList<ConferenciaScript::Comando> ConferenciaScript::confere(const QStringList &linhas)
{
    QList<Comando> comandos;
    m_pedidosDoScript.clear();
    int numero = 0;
    for (const QString &linha : linhas) {
        ++numero;
        if (linha.trimmed().isEmpty())
            continue;
        try {
            comandos << comando(FormaScript::le(linha));
        } catch (const FormaScript::Erro &e) {
            throw DatabaseError(QStringLiteral("linha %1: %2: %3").arg(numero).arg(e.mensagem(), linha.simplified().left(160)));
        } catch (const Recusa &e) {
            throw DatabaseError(QStringLiteral("linha %1: %2: %3").arg(numero).arg(e.texto, linha.simplified().left(160)));
        }
    }
    return comandos;
}

ConferenciaScript::Comando ConferenciaScript::comando(const FormaScript::Comando &lido)
{
    const QString &empresa = m_usuario.CODEMP;
    const auto valor = [&lido](const char *coluna) { return lido.valor(QLatin1String(coluna)); };
    const auto daEmpresa = [&] { exige(codigo(valor("CODEMP")) == empresa, QStringLiteral("linha de outra empresa")); };
    const auto supervisor = [&] { exige(m_usaSupervisor, QStringLiteral("usuário sem acesso de supervisor")); };
    daEmpresa();

    switch (lido.tipo) {
    case Tipo::Senha:
        exige(codigo(valor("CODUSU")) == m_usuario.CODUSU, QStringLiteral("senha de outro usuário"));
        return {QStringLiteral("UPDATE F599USU SET SENUSU = :SEN, EXPSEN = 'N' WHERE CODEMP = :EMP AND CODUSU = :USU"),
                {{QStringLiteral("SEN"), valor("SENUSU") ? QVariant(*valor("SENUSU")) : QVariant()},
                 {QStringLiteral("EMP"), empresa},
                 {QStringLiteral("USU"), m_usuario.CODUSU}}};
    case Tipo::SituacaoPedidos:
        exige(!m_vendedor.isEmpty() && codigo(valor("CODVEN")) == m_vendedor, QStringLiteral("pedidos de outro vendedor"));
        return {QStringLiteral("UPDATE F530PDF SET SITPDF = 'L' WHERE CODEMP = :EMP AND CODNOV = 0 AND SITPDF = 'D' "
                               "AND (CODVEN = :VEN OR VENSUB = :VEN)"),
                {{QStringLiteral("EMP"), empresa}, {QStringLiteral("VEN"), m_vendedor}}};
    case Tipo::MensagensLidas: {
        exige(codigo(valor("CODUSU")) == m_usuario.CODUSU, QStringLiteral("mensagens de outro usuário"));
        Comando c{QString(), {{QStringLiteral("EMP"), empresa}, {QStringLiteral("USU"), m_usuario.CODUSU}}};
        QStringList marcadores;
        for (qsizetype i = 0; i < lido.codigos.size(); ++i) {
            marcadores << QStringLiteral(":C%1").arg(i);
            c.parametros.insert(QStringLiteral("C%1").arg(i), lido.codigos.at(i));
        }
        c.sql = QStringLiteral("UPDATE F599MSG SET SITMSG = 'L' WHERE CODEMP = :EMP AND USUDES = :USU AND CODINT IN (%1)")
                    .arg(marcadores.join(QStringLiteral(", ")));
        return c;
    }
    case Tipo::Autorizacao: {
        supervisor();
        const QString decisao = valor("AUTBON").value_or(QString());
        exige(decisao == u"A" || decisao == u"N", QStringLiteral("decisão de bonificação inválida"));
        return {QStringLiteral("UPDATE F030PDV SET AUTBON = :AUT WHERE CODPDV = :PDV AND CODEMP = :EMP"),
                {{QStringLiteral("AUT"), decisao}, {QStringLiteral("PDV"), *valor("CODPDV")}, {QStringLiteral("EMP"), empresa}}};
    }
    case Tipo::Pedido:
        exige(codigo(lido.empresaSequencia) == empresa, QStringLiteral("sequência de outra empresa"));
        exige(permitido(valor("CODVEN")), QStringLiteral("pedido de outro vendedor"));
        exige(!valor("VENSUB") || codigo(valor("VENSUB")) == m_vendedor, QStringLiteral("pedido de outro vendedor"));
        exige(valor("SITPDF") == QStringLiteral("D"), QStringLiteral("situação de pedido inválida"));
        exige(!codigo(valor("CODPDF")).isEmpty(), QStringLiteral("pedido sem número"));
        m_pedidosDoScript.insert(codigo(valor("CODPDF")) + u'|' + valor("CODNOW").value_or(QString()));
        return insercao(lido, EsquemaCentral::sequenciaPedidos(empresa));
    case Tipo::Item:
        exige(permitido(valor("CODVEN")), QStringLiteral("item de outro vendedor"));
        exige(codigo(valor("CODINT")) == u"0", QStringLiteral("item de pedido do servidor"));
        exige(m_pedidosDoScript.contains(codigo(valor("CODPDF")) + u'|' + valor("CODNOW").value_or(QString())),
              QStringLiteral("item sem o seu pedido no script"));
        return insercao(lido, QString());
    case Tipo::Cliente:
        confereCliente(lido);
        return insercao(lido, QString());
    case Tipo::Mensagem:
        exige(codigo(lido.empresaSequencia) == empresa, QStringLiteral("sequência de outra empresa"));
        exige(codigo(valor("USUREM")) == m_usuario.CODUSU, QStringLiteral("mensagem em nome de outro usuário"));
        exige(!codigo(valor("USUDES")).isEmpty() && !codigo(valor("CODMSG")).isEmpty(),
              QStringLiteral("mensagem sem destinatário ou número"));
        exige(valor("SITMSG") == QStringLiteral("N") && valor("ENVMSG") == QStringLiteral("E"),
              QStringLiteral("situação de mensagem inválida"));
        return insercao(lido, EsquemaCentral::sequenciaMensagens(empresa));
    case Tipo::Movimento:
        supervisor();
        exige(!m_supervisor.isEmpty() && codigo(valor("CODSUP")) == m_supervisor, QStringLiteral("movimento de outro supervisor"));
        exige(permitido(valor("VENORI")) && (!valor("VENDES") || permitido(valor("VENDES"))),
              QStringLiteral("movimento de outro vendedor"));
        exige(valor("SITMOV") == QStringLiteral("E"), QStringLiteral("situação de movimento inválida"));
        exige(!codigo(valor("CODMOV")).isEmpty(), QStringLiteral("movimento sem número"));
        return insercao(lido, QString());
    }
    throw Recusa(QStringLiteral("comando não aceito pelo servidor"));
}

void ConferenciaScript::confereCliente(const FormaScript::Comando &lido) const
{
    exige(!m_vendedor.isEmpty() && codigo(lido.valor(QStringLiteral("CODVEN"))) == m_vendedor,
          QStringLiteral("cliente de outro vendedor"));
    const QString situacao = lido.valor(QStringLiteral("STUCLI")).value_or(QString());
    exige(situacao == u"A" || situacao == u"N", QStringLiteral("situação de cliente inválida"));
    const QString cliente = codigo(lido.valor(QStringLiteral("CODCLI")));
    const QString novo = codigo(lido.valor(QStringLiteral("CODNOV")));
    exige(!cliente.isEmpty() && !novo.isEmpty(), QStringLiteral("cliente sem código"));
    if (cliente == u"0")
        return;
    // A customer of the server changed here: it must be in the seller's portfolio.
    QSqlQuery existente = ConsultaServidor::executa(
        m_central, QStringLiteral("SELECT CODVEN FROM F510CLI WHERE CODEMP = :EMP AND CODCLI = :CLI AND CODNOV = :NOV "
                                  "AND (CODNOW IS NULL OR SITSRV IS NOT NULL)"),
        {{QStringLiteral("EMP"), m_usuario.CODEMP}, {QStringLiteral("CLI"), cliente}, {QStringLiteral("NOV"), novo}});
    exige(existente.next(), QStringLiteral("cliente inexistente no servidor"));
    exige(permitido(ConsultaServidor::codigo(existente.value(0))), QStringLiteral("cliente de outro vendedor"));
}

ConferenciaScript::Comando ConferenciaScript::insercao(const FormaScript::Comando &lido, const QString &sequencia) const
{
    Comando c;
    QStringList colunas;
    QStringList valores;
    if (!sequencia.isEmpty()) {
        colunas << QStringLiteral("CODINT");
        valores << QStringLiteral("NEXT VALUE FOR ") + sequencia;
    }
    for (qsizetype i = 0; i < lido.colunas.size(); ++i) {
        const QString &coluna = lido.colunas.at(i);
        const std::optional<QString> &texto = lido.valores.at(i);
        QVariant valor;
        if (texto) {
            const auto tipo = m_tipos ? m_tipos(lido.tabela, coluna) : TraducaoScript::TipoColuna::Desconhecido;
            using TipoColuna = TraducaoScript::TipoColuna;
            if (tipo == TipoColuna::Data || tipo == TipoColuna::DataHora) {
                valor = data(*texto, tipo);
            } else {
                // The driver would take a text that is no number as 0.
                static const QRegularExpression numero(QStringLiteral("^-?\\d{1,18}(\\.\\d{0,18})?$"));
                exige(tipo != TipoColuna::Numero || numero.match(*texto).hasMatch(),
                      QStringLiteral("valor não numérico em %1: \"%2\"").arg(coluna, texto->left(40)));
                valor = *texto;
            }
        }
        const QString nome = QStringLiteral("V%1").arg(i);
        colunas << coluna;
        valores << u':' + nome;
        c.parametros.insert(nome, valor);
    }
    colunas << QStringLiteral("USUENV");
    valores << QStringLiteral(":USUENV");
    c.parametros.insert(QStringLiteral("USUENV"), m_usuario.CODUSU);
    c.sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(lido.tabela, colunas.join(QStringLiteral(", ")), valores.join(QStringLiteral(", ")));
    return c;
}
