// Holds db/schema.sql to the database contract: the tables and columns the program's statements
// name, with their types, the reset's catalogue listing and the week procedure.

#include "SchemaContract.h"

#include <QMap>
#include <QSet>

namespace {

// Column lists of the contract. Codes: N0/N2/N3/N6 = NUMERIC(15,scale), Vn = VARCHAR(n),
// D = DATE, T = TIME, S = SMALLINT; a trailing '!' marks NOT NULL.
const QMap<QString, QString> &contractColumns()
{
    static const QMap<QString, QString> tables = {
        {"F599USU", "CODUSU N0!, NOMUSU V30, SENUSU V30, CODCCU N0, CODEMP N0, CODVEN N0, CODSUP N0, "
                    "HSTSRV V50, DATATL D, HORATL T, USASUP V1, SLDFLX N2, ACRTAB N2, ESTCID V2, "
                    "DESRET N2, EXPSEN V1, EXPANT V1, SENANT V30"},
        {"F599MSU", "CODEMP N0!, CODUSU N0!, NOMUSU V30"},
        {"F512VEN", "CODEMP N0, CODVEN N0, NOMVEN V50, DDAEND V3, TEAEND V10, DDBEND V3, TEBEND V10, "
                    "EMLEND V50, CNTSAL N2, CNTACU N2"},
        {"F515CCU", "CODEMP N0, CODCCU N0!, DESCCU V50"},
        {"F501CID", "CODEMP N0, CODCID N0!, NOMCID V50, ESTCID V2"},
        {"F510CLI", "CODEMP N0!, CODCLI N0!, CODNOV N0!, CODVEN N0, RAZCLI V50, FANCLI V50, ENDEND V50, "
                    "NUMEND V10, BAIEND V20, CEPEND V10, CODCID N0, DDAEND V3, TEAEND V10, FONEMB V50, "
                    "CNTEMB V50, EMLEMB V50, FONLIM V50, CNTLIM V50, EMLLIM V50, CPFCGC V25, NUMIES V25, "
                    "CODTIP N0, DESCHK V20, SITCLI V1, STUCLI V1, LIMCRE N2, ABTCLI N2, ATRCLI N2, "
                    "EMIAVS V1, OBSCLI V100, CODTAB N0, CODRED N0, REDE V1"},
        {"F510TIP", "CODEMP N0!, CODTIP N0!, DESTIP V50, TEMCHK V1"},
        {"F510ROT", "CODEMP N0, CODCLI N0, DIASEM S, SEMMES S"},
        {"F510CPC", "CODEMP N0, CODCLI N0, CODCON N0"},
        {"F510OPC", "CODEMP N0, CODCLI N0, CODOPE N0"},
        {"F550TRC", "CODEMP N0!, CODCCU N0!, CODPDV N0!, NUMTRC N0!, PARTRC V5!, CODVEN N0!, CODCLI N0, "
                    "DATEMI D, DATVCT D, VLRTRC N2, DIAVCT N2"},
        {"F511PRO", "CODEMP N0!, CODCCU N0!, CODPRO N0!, CODFAM N0, DESPRO V50, UNDPRO V3, DISPRO N2, "
                    "FATPRO N3, PESPRO N0"},
        {"F511FAM", "CODEMP N0, CODCCU N0, CODFAM N0!, DESFAM V50, RETPDV V1"},
        {"F511GFA", "CODGFA N0!, CODCCU N0!, CODEMP N0!, DESGFA V50"},
        {"F511IFA", "CODEMP N0, CODCCU N0, CODGFA N0!, CODFAM N0"},
        {"F511TAB", "CODEMP N0, CODCCU N0, CODPRO N0, CODTAB N0!, DESTAB V50!, PRCVEN N3, NOVPRV N3, "
                    "SITALT V1, DATALT D, CODCOS N0, DESCOS V30, MAXDCT N2, RJTTAB N2"},
        {"F511PRM", "CODEMP N0, CODCCU N0, CODPRO N0, DATINI D, DATFIM D, PRZMAX N0, VLRPRM N3"},
        {"F511IMP", "CODEMP N0!, CODCCU N0!, CODPRO N0!, ESTCID V2!, ALISTR N2, ALIICM N2, ALIINA N2, "
                    "CFTICM N6"},
        {"F512COS", "CODEMP N0, CODCOS N0, PCTDCT N2"},
        {"F513DES", "CODEMP N0, CODOPE N0, CODCON N0, PORDES N2"},
        {"F530PDF", "CODEMP N0!, CODPDF N0!, CODINT N0!, CODTAB N0, DATPDF D, CODCLI N0, CODNOV N0, "
                    "TOTPDF N2, TOTFLX N2, CODTRA N0, CODCON N0, CODOPE N0, SITPDF V1, CODVEN N0, "
                    "VENSUB N0, OBSCLI V300, MOTCAN V100, SITFLX V1, DATFAT D, DATENT D, PDFORC V1, "
                    "RETPDV V1"},
        {"F530IPF", "CODEMP N0!, CODCCU N0!, CODPDF N0!, CODPRO N0!, CODINT N0!, DESPRO V50, UNDPRO V3, "
                    "QTDPRO N2, VLRUNT N3, VLRTOT N3, USOFLX N2, GERFLX N2, QTDFAT N2, VLRFAT N2, "
                    "FATPRO N3, MAXDCT N2, PRCVEN N3, PRCTAB N3, VLRSTB N2, TABCOS N2, CODCOS N0, "
                    "ITMPRM V1, PRZMAX N0, VLRPRM N3, SITIPF V1, SITFLX V1, CODPDV N0"},
        {"F513TRA", "CODEMP N0!, CODTRA N0!, DESTRA V50, DESFLX V1, GERBON V1, GERTIT V1"},
        {"F513OPE", "CODEMP N0!, CODOPE N0!, NOMOPE V50, TEMFLU V1"},
        {"F513OCU", "CODEMP N0!, CODCCU N0!, CODOPE N0!"},
        {"F513CON", "CODEMP N0!, CODCON N0!, DESCON V50, PDVMIN N2, MAXDIA N0, SEMDBT V1, TIPCON V1"},
        {"F530BON", "CODEMP N0!, CODCCU N0!, CODPDV N0!, DATPDF D, CODCLI N0, RAZCLI V50, TOTPDF N2, "
                    "AUTBON V1, CODVEN N0, CODTRA N0, CODOPE N0, CODCON N0"},
        {"F530IBO", "CODEMP N0!, CODCCU N0!, CODPDV N0!, CODPRO N0!, DESPRO V50, UNDPRO V3, QTDPRO N2, "
                    "VLRUNT N3, VLRTOT N3, USOFLX N2, QTDFAT N2, VLRFAT N2, FATPRO N3, MAXDCT N2, "
                    "PRCVEN N3, PRCTAB N3"},
        {"F512MTF", "CODMOV N0!, CODEMP N0!, CODSUP N0!, DATMOV D!, VENORI N0, VENDES N0, TIPMOV V1, "
                    "SITMOV V1, VLRMOV N2, CCUORI N0, CCUDES N0"},
        {"F599MSG", "CODEMP N0, CODMSG N0!, USUREM N0!, TITMSG V50, DESMSG V200, DATMSG D, SITMSG V1, "
                    "ENVMSG V1, CODINT N0"},
        {"F599MDT", "CODEMP N0!, CODMSG N0!, CODUSU N0!"},
        {"F500RSV", "CODEMP N0, CODVEN N0, NOMVEN V50, CODSUP N0, NOMSUP V50, MESMET V10!, METVEN N2, "
                    "GERVEN N2, GERDEZ N2, METEQP N2, GEREQP N2, VLRCOS N2, DESDIF V30, METDIF N2, "
                    "GERDIF N2, FLXDSP N2, FLXGER N2, METCLI N0, GERCLI N0, GERNOV N0, SUBVEN N2, "
                    "SUBCLI N0, METPRO N2, GERPRO N2"},
        {"F500RPE", "CODEMP N0, CODCLI N0, CODCCU N0, CODPRO N0, QTDPEN N2, VLRPEN N3, DATPEN D"},
    };
    return tables;
}

// The declared type of a column in the codes of contractColumns().
QString typeCode(int type, int subType, int precision, int scale, int length)
{
    switch (type) {
    case 7:
    case 8:
    case 16:
        if (subType == 0 && scale == 0)
            return type == 7 ? QStringLiteral("S") : type == 8 ? QStringLiteral("INTEGER") : QStringLiteral("BIGINT");
        if (precision != 15)
            return QStringLiteral("NUMERIC(%1,%2)").arg(precision).arg(-scale);
        return QStringLiteral("N%1").arg(-scale);
    case 37:
        return QStringLiteral("V%1").arg(length);
    case 14:
        return QStringLiteral("CHAR(%1)").arg(length);
    case 12:
        return QStringLiteral("D");
    case 13:
        return QStringLiteral("T");
    default:
        return QStringLiteral("type %1").arg(type);
    }
}

} // namespace

// Guards against a missing, misnamed or mistyped column (or a stray NOT NULL that would refuse
// the program's inserts) in any table of the contract.
TEST_F(SchemaContract, EveryTableHasTheContractColumnsAndTypes)
{
    const QList<Row> rows = select(QStringLiteral(
        "SELECT RF.RDB$RELATION_NAME TAB, RF.RDB$FIELD_NAME COL, F.RDB$FIELD_TYPE TYP, "
        "COALESCE(F.RDB$FIELD_SUB_TYPE, 0) SUB, COALESCE(F.RDB$FIELD_PRECISION, 0) PRE, "
        "COALESCE(F.RDB$FIELD_SCALE, 0) SCA, COALESCE(F.RDB$CHARACTER_LENGTH, 0) LEN, "
        "COALESCE(RF.RDB$NULL_FLAG, 0) NN "
        "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME "
        "WHERE R.RDB$VIEW_BLR IS NULL AND COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0"));

    QMap<QString, QMap<QString, QString>> actual;
    for (const Row &r : rows) {
        QString code = typeCode(r["TYP"].toInt(), r["SUB"].toInt(), r["PRE"].toInt(), r["SCA"].toInt(),
                                r["LEN"].toInt());
        if (r["NN"].toInt() == 1)
            code += u'!';
        actual[text(r["TAB"])][text(r["COL"])] = code;
    }

    for (auto t = contractColumns().cbegin(); t != contractColumns().cend(); ++t) {
        SCOPED_TRACE(t.key().toStdString());
        ASSERT_TRUE(actual.contains(t.key())) << "table missing";
        QMap<QString, QString> columns = actual.take(t.key());
        const QStringList expected = t.value().split(QStringLiteral(", "));
        for (const QString &entry : expected) {
            const QString name = entry.section(u' ', 0, 0);
            const QString code = entry.section(u' ', 1, 1);
            ASSERT_TRUE(columns.contains(name)) << "column missing: " << name.toStdString();
            EXPECT_EQ(columns.take(name), code) << "column " << name.toStdString();
        }
        EXPECT_TRUE(columns.isEmpty()) << "columns outside the contract: "
                                       << QStringList(columns.keys()).join(u',').toStdString();
    }
    EXPECT_TRUE(actual.isEmpty()) << "tables outside the contract: "
                                  << QStringList(actual.keys()).join(u',').toStdString();
}

// Guards the user table: the session reads all 18 columns with "Select *" and falls back to the
// seven minimum ones.
TEST_F(SchemaContract, UserTableAnswersBothSessionReads)
{
    seed();
    const QList<Row> all = select(QStringLiteral("Select * from F599USU"));
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all[0].size(), 18);
    EXPECT_EQ(text(all[0]["NOMUSU"]), "MARCOS");
    EXPECT_EQ(all[0]["HORATL"].toTime(), QTime(8, 30));
    const QList<Row> minimum =
        select(QStringLiteral("Select CODUSU, NOMUSU, SENUSU, HSTSRV, CODCCU, CODVEN, CODEMP from F599USU"));
    ASSERT_EQ(minimum.size(), 1);
    EXPECT_EQ(num(minimum[0]["CODVEN"], 0), 12);
    EXPECT_EQ(execute(QStringLiteral("UPDATE F599USU SET SENUSU = 'abc''d', EXPSEN = 'N'")), 1);
}

// Guards the reset: the catalogue listing finds exactly the contract's tables (no view or
// procedure), and an unconditional DELETE of each name as read (blank-padded) empties it.
TEST_F(SchemaContract, ResetListsEveryTableAndEmptiesItWithPlainDeletes)
{
    seed();
    const QList<Row> tables = select(QStringLiteral(
        " SELECT RDB$RELATION_NAME \"TABELAS\" FROM RDB$RELATIONS "
        " WHERE RDB$VIEW_BLR IS NULL AND (RDB$SYSTEM_FLAG = 0 OR RDB$SYSTEM_FLAG IS NULL) "
        " AND RDB$VIEW_BLR IS NULL"));
    QSet<QString> names;
    for (const Row &r : tables)
        names.insert(text(r["TABELAS"]));
    const QList<QString> contractNames = contractColumns().keys();
    EXPECT_EQ(names, QSet<QString>(contractNames.cbegin(), contractNames.cend()));

    for (const Row &r : tables)
        execute(QStringLiteral("DELETE FROM ") + r["TABELAS"].toString());
    execute(QStringLiteral("COMMIT"));
    for (const QString &name : names) {
        const QList<Row> count = select(QStringLiteral("SELECT COUNT(*) N FROM ") + name);
        ASSERT_EQ(count.size(), 1);
        EXPECT_EQ(count[0]["N"].toInt(), 0) << name.toStdString();
    }
    // The procedures still answer on an empty file.
    EXPECT_TRUE(select(QStringLiteral("SELECT * FROM PRC_LISTA_DST")).isEmpty());
}

// Guards SEMANA_MES: weeks 1 to 5 of the month, called with EXECUTE PROCEDURE (bound date or a
// month-first literal); like the server's, it is executable, not selectable.
TEST_F(SchemaContract, SemanaMesNumbersWeeksOneToFive)
{
    QSqlQuery q = m_cnx->query();
    ASSERT_TRUE(q.prepare(QStringLiteral("EXECUTE PROCEDURE SEMANA_MES(:DATA)")));
    const QList<std::pair<QDate, int>> cases = {
        {QDate(2024, 3, 1), 1},  {QDate(2024, 3, 7), 1},  {QDate(2024, 3, 8), 2}, {QDate(2024, 3, 15), 3},
        {QDate(2024, 3, 28), 4}, {QDate(2024, 3, 29), 5}, {QDate(2024, 3, 31), 5}, {QDate(2024, 2, 29), 5}};
    for (const auto &[date, week] : cases) {
        q.bindValue(QStringLiteral(":DATA"), date);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), week) << date.toString(Qt::ISODate).toStdString();
    }
    QSqlQuery literal = m_cnx->query();
    ASSERT_TRUE(literal.exec(QStringLiteral("EXECUTE PROCEDURE SEMANA_MES('12/09/2026')")));
    ASSERT_TRUE(literal.next());
    EXPECT_EQ(literal.value(0).toInt(), 2);
    // Procedure type 2: executable, as the server delivers it; a SELECT from it is refused.
    const QList<Row> tipo = select(QStringLiteral(
        "SELECT RDB$PROCEDURE_TYPE FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME = 'SEMANA_MES'"));
    ASSERT_EQ(tipo.size(), 1);
    EXPECT_EQ(tipo[0]["RDB$PROCEDURE_TYPE"].toInt(), 2);
    QSqlQuery selecionada = m_cnx->query();
    EXPECT_FALSE(selecionada.exec(QStringLiteral("SELECT SEMANA FROM SEMANA_MES('12/31/2026')")) && selecionada.next());
    EXPECT_TRUE(selecionada.lastError().databaseText().contains(QLatin1String("not selectable")));
}
