#include "CondicoesCliente.h"

QString CondicoesCliente::instrucao()
{
    return QStringLiteral(
        "SELECT CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT FROM F513CON "
        "WHERE TIPCON = 'N' AND SEMDBT = 'S' AND CODEMP = :PCODEMP "
        "UNION "
        "SELECT CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT FROM F513CON "
        "WHERE TIPCON = 'N' AND CODEMP = :PCODEMP "
        "AND (SELECT COUNT(*) FROM F510CPC P, F513CON C WHERE P.CODCON = C.CODCON AND P.CODEMP = C.CODEMP "
        "AND C.TIPCON = 'E' AND P.CODCLI = :PCODCLI AND P.CODEMP = :PCODEMP) = 0 "
        "UNION "
        "SELECT P.CODEMP, P.CODCON, C.DESCON, C.PDVMIN, C.MAXDIA, C.SEMDBT FROM F510CPC P, F513CON C "
        "WHERE P.CODCON = C.CODCON AND P.CODEMP = C.CODEMP AND C.TIPCON = 'E' "
        "AND P.CODCLI = :PCODCLI AND P.CODEMP = :PCODEMP");
}

QString CondicoesCliente::parametroCliente(const QString &codigo, bool clienteNovo)
{
    const QString trimmed = codigo.trimmed();
    if (trimmed.isEmpty() || clienteNovo)
        return QStringLiteral("-1");
    return trimmed;
}
