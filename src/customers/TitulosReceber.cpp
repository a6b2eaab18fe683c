#include "TitulosReceber.h"

#include "ClientDataSetPlus.h"
#include "Formatos.h"
#include "FormatosColunas.h"
#include "SqlText.h"

const QString TitulosReceber::kSelectFinanceiro = QStringLiteral(
    "SELECT T.*, C.RAZCLI "
    "FROM F550TRC T, F510CLI C "
    "WHERE T.CODEMP = C.CODEMP "
    "AND      T.CODCLI = C.CODCLI "
    "AND      C.CODNOV = 0 "
    "AND      T.CODEMP = :PCODEMP "
    "AND      T.CODCLI LIKE :PCODCLI "
    "AND      COALESCE(C.RAZCLI, '') LIKE :PRAZCLI "
    "AND      T.DATVCT >= :PDATINI "
    "AND      T.DATVCT <= :PDATFIM "
    "AND      IIF(T.DIAVCT > 0,'S','N') LIKE :PSITVCT");

TitulosReceber::TitulosReceber(FirebirdConnection &connection)
    : m_titulos(std::make_unique<TClientDataSetPlus>())
{
    m_titulos->setConnection(&connection);
    m_titulos->setCommandText(kSelectFinanceiro);
}

TitulosReceber::~TitulosReceber() = default;

QString TitulosReceber::pesquisa(const QString &codEmp, const Filtro &filtro, const QDate &hoje)
{
    const QString americana = QStringLiteral("yyyy-mm-dd");
    QString inicio = QStringLiteral("1900-01-01");
    QString fim = Formatos::formatDate(hoje.addYears(100), americana);
    if (filtro.periodo) {
        const SqlText::ParsedDate de = SqlText::parseDate(filtro.inicio);
        if (!de)
            return de.message;
        const SqlText::ParsedDate ate = SqlText::parseDate(filtro.fim);
        if (!ate)
            return ate.message;
        inicio = Formatos::formatDate(*de.date, americana);
        fim = Formatos::formatDate(*ate.date, americana);
    }
    // The code is a number: letters are told here instead of failing in the engine.
    const QString digitado = filtro.codigo.trimmed();
    const Formatos::NumeroDigitado codigo = Formatos::leNumeroDigitado(digitado, 0, 15);
    if (!codigo)
        return QStringLiteral("Código : ") + codigo.mensagem;
    m_titulos->close();
    m_titulos->setParam(QStringLiteral("PCODEMP"), codEmp);
    m_titulos->setTypedParam(QStringLiteral("PCODCLI"), digitado.isEmpty() ? QStringLiteral("%") : codigo.valor);
    m_titulos->setTypedParam(QStringLiteral("PRAZCLI"), filtro.razaoSocial.isEmpty()
                                                        ? QStringLiteral("%")
                                                        : SqlText::containsPattern(filtro.razaoSocial.toUpper()));
    m_titulos->setParam(QStringLiteral("PDATINI"), inicio);
    m_titulos->setParam(QStringLiteral("PDATFIM"), fim);
    m_titulos->setParam(QStringLiteral("PSITVCT"), filtro.vencidos ? QStringLiteral("S") : QStringLiteral("%"));
    m_titulos->open();
    return {};
}

QString TitulosReceber::totalTitulos() const
{
    if (!m_titulos->active() || m_titulos->isEmpty())
        return {};
    return FormatosColunas::formata(QStringLiteral("TOTTIT"), m_titulos->sum(QStringLiteral("VLRTRC")));
}
