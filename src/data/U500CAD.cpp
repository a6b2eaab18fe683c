#include "U500CAD.h"

#include "ClientDataSetPlus.h"

D500CAD *D500CAD::s_instance = nullptr;

const QString D500CAD::kSelectPedido = QStringLiteral(
    "SELECT * FROM F530PDF WHERE CODEMP = :PCODEMP AND CODPDF = :PCODPDF AND CODINT = :PCODINT");

const QString D500CAD::kSelectItensPedido = QStringLiteral(
    "SELECT CAST('N' AS CHAR(1)) AS VLDITM, I.* FROM F530IPF I "
    "WHERE I.CODEMP = :PCODEMP AND I.CODPDF = :PCODPDF AND I.CODINT = :PCODINT");

const QString D500CAD::kSelectMSGRecebidas = QStringLiteral(
    "SELECT M.CODMSG, M.USUREM , U.NOMUSU, M.TITMSG, M.DATMSG, M.SITMSG, M.DESMSG "
    "FROM F599MSG M, F599MSU U "
    "WHERE M.USUREM = U.CODUSU "
    "AND M.CODEMP = U.CODEMP "
    "AND M.ENVMSG = 'R' "
    "AND M.CODEMP = :PCODEMP "
    "AND M.SITMSG LIKE :PSITMSG "
    "ORDER BY M.DATMSG DESC");

D500CAD::D500CAD(FirebirdConnection &connection, QObject *parent)
    : QObject(parent)
{
    cdsMSGRecebidas = new TClientDataSetPlus(this);
    cdsMSGRecebidas->setConnection(&connection);
    cdsMSGRecebidas->setCommandText(kSelectMSGRecebidas);
    cdsMSGRecebidas->setTableName(QStringLiteral("F599MSG"));
    s_instance = this;
}

D500CAD::~D500CAD()
{
    delete cdsMSGRecebidas;
    if (s_instance == this)
        s_instance = nullptr;
}

D500CAD *D500CAD::instance()
{
    return s_instance;
}

bool D500CAD::existemMensagensNovas(const QString &codEmp)
{
    cdsMSGRecebidas->close();
    cdsMSGRecebidas->setParam(QStringLiteral("PCODEMP"), codEmp);
    cdsMSGRecebidas->setParam(QStringLiteral("PSITMSG"), QStringLiteral("N"));
    cdsMSGRecebidas->open();
    const bool existem = !cdsMSGRecebidas->isEmpty();
    cdsMSGRecebidas->close();
    return existem;
}
