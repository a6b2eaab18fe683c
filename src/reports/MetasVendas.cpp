#include "MetasVendas.h"

#include "ClientDataSetPlus.h"

const QString MetasVendas::kSelectVelocimetro = QStringLiteral(
    "SELECT DISTINCT MESMET,"
    " CAST(IIF(METVEN > 0,(GERVEN/METVEN)*100,0) AS NUMERIC(15,4)) VELMES,"
    " CAST(IIF((METVEN/3) > 0,(GERDEZ/(METVEN/3))*100,0) AS NUMERIC(15,4)) VELDEZ,"
    " CAST(IIF(METEQP > 0,(GEREQP/METEQP)*100,0) AS NUMERIC(15,4)) VELEQP,"
    " GERVEN DISPL, METVEN,"
    " CAST(IIF(GERVEN > 0,(VLRCOS/GERVEN)*100, 0) AS NUMERIC(15,4)) PORCOS,"
    " DESDIF,"
    " CAST(IIF(METDIF > 0,(GERDIF/METDIF)*100,0) AS NUMERIC(15,4)) VELDIF,"
    " METDIF, GERDIF"
    " FROM F500RSV WHERE CODEMP = :PCODEMP AND CODVEN = :PCODVEN"
    " ORDER BY CAST('01/'||MESMET AS DATE) DESC");

QString MetasVendas::Valores::legendaDiferenciado() const
{
    return DESDIF.isEmpty() ? QStringLiteral("DIFERENCIAD.") : DESDIF.left(11);
}

QString MetasVendas::Valores::tituloDiferenciado() const
{
    return DESDIF.isEmpty() ? QStringLiteral("DIFERENCIADOS") : DESDIF;
}

MetasVendas::Valores MetasVendas::carrega(FirebirdConnection &connection, const QString &codEmp,
                                          const QString &codVen)
{
    TClientDataSetPlus qrVelocimetro;
    qrVelocimetro.setConnection(&connection);
    qrVelocimetro.setCommandText(kSelectVelocimetro);
    qrVelocimetro.setParam(QStringLiteral("PCODEMP"), codEmp);
    qrVelocimetro.setParam(QStringLiteral("PCODVEN"), codVen);
    qrVelocimetro.open();
    Valores v;
    if (qrVelocimetro.isEmpty())
        return v;
    qrVelocimetro.first();
    v.MESMET = qrVelocimetro.asString(QStringLiteral("MESMET"));
    v.VELMES = qrVelocimetro.asFloat(QStringLiteral("VELMES"));
    v.VELDEZ = qrVelocimetro.asFloat(QStringLiteral("VELDEZ"));
    v.VELEQP = qrVelocimetro.asFloat(QStringLiteral("VELEQP"));
    v.VELDIF = qrVelocimetro.asFloat(QStringLiteral("VELDIF"));
    v.DISPL = qrVelocimetro.asFloat(QStringLiteral("DISPL"));
    v.METVEN = qrVelocimetro.asFloat(QStringLiteral("METVEN"));
    v.METDIF = qrVelocimetro.asFloat(QStringLiteral("METDIF"));
    v.GERDIF = qrVelocimetro.asFloat(QStringLiteral("GERDIF"));
    v.PORCOS = qrVelocimetro.asFloat(QStringLiteral("PORCOS"));
    v.DESDIF = qrVelocimetro.asString(QStringLiteral("DESDIF")).trimmed();
    return v;
}
