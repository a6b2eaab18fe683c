// Budget orders across the replacement of the database, on the large data set: saving them to
// ORCPED.XML/ORCITM.XML and restoring them into a database without them, against a plain read
// of the same rows.
#include "BancadaSync.h"

#include "D500DAT.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "OrcamentosSincronizacao.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>
#include <exception>

namespace {

const QString kChavesOrcamentos =
    QStringLiteral("(SELECT DISTINCT CODEMP, CODPDF, CODINT FROM F530PDF WHERE PDFORC = 'S') P");

qint64 conta(FirebirdConnection &cnx, const QString &sql)
{
    QSqlQuery q = cnx.query();
    if (!q.exec(sql) || !q.next())
        throw DatabaseError(QStringLiteral("consulta falhou: ") + sql);
    return q.value(0).toLongLong();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dados = BancadaSync::pastaDados(argc, argv);
    if (dados.isEmpty()) {
        std::fprintf(stderr, "usage: bench_orcamentos --data DIR\n");
        return 2;
    }
    try {
        BancadaSync::CopiaDados copia(dados);
        auto dat = BancadaSync::abreNotebook(copia.base());
        FirebirdConnection &cnx = dat->cnxFirebird;
        const QString sqlItens = QStringLiteral("SELECT I.* FROM ") + kChavesOrcamentos
            + QStringLiteral(" JOIN F530IPF I ON I.CODEMP = P.CODEMP AND I.CODPDF = P.CODPDF AND I.CODINT = P.CODINT");
        const qint64 pedidos = conta(cnx, QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE PDFORC = 'S'"));
        const qint64 itens = conta(cnx, QStringLiteral("SELECT COUNT(*) FROM (") + sqlItens + QStringLiteral(")"));
        BancadaSync::figura(QStringLiteral("budget orders"), QStringLiteral("%1 with %2 items").arg(pedidos).arg(itens));

        const double baseline = BancadaSync::tempoMs([&] {
            BancadaSync::leLinhas(cnx, QStringLiteral("SELECT * FROM F530PDF WHERE PDFORC = 'S'"));
            BancadaSync::leLinhas(cnx, sqlItens);
        });
        BancadaSync::figura(QStringLiteral("baseline: plain read of the same rows"),
                            QStringLiteral("%1 ms").arg(baseline, 0, 'f', 1));

        OrcamentosSincronizacao orcamentos(cnx);
        const double salva = BancadaSync::tempoMs([&] { orcamentos.salvaOrcamentos(copia.pasta()); });
        BancadaSync::figura(QStringLiteral("salvaOrcamentos"), QStringLiteral("%1 ms (%2 x baseline)")
                                                                  .arg(salva, 0, 'f', 1)
                                                                  .arg(salva / baseline, 0, 'f', 1));

        // The new database from the server holds no budget orders.
        cnx.execute(QStringLiteral("DELETE FROM F530IPF I WHERE EXISTS (SELECT 1 FROM F530PDF P WHERE "
                                   "P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT "
                                   "AND P.PDFORC = 'S')"));
        cnx.execute(QStringLiteral("DELETE FROM F530PDF WHERE PDFORC = 'S'"));

        const double restaura = BancadaSync::tempoMs(
            [&] { orcamentos.restauraOrcamentos(copia.pasta(), dat->sessao.CODEMP); });
        BancadaSync::figura(QStringLiteral("restauraOrcamentos"), QStringLiteral("%1 ms (%2 x baseline)")
                                                                     .arg(restaura, 0, 'f', 1)
                                                                     .arg(restaura / baseline, 0, 'f', 1));

        const qint64 pedidosDepois = conta(cnx, QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE PDFORC = 'S'"));
        const qint64 itensDepois = conta(cnx, QStringLiteral("SELECT COUNT(*) FROM (") + sqlItens + QStringLiteral(")"));
        const bool completo = pedidosDepois == pedidos && itensDepois == itens
            && !QFile::exists(QDir(copia.pasta()).filePath(OrcamentosSincronizacao::arquivoPedidos));
        BancadaSync::figura(QStringLiteral("restored"),
                            QStringLiteral("%1 orders, %2 items%3")
                                .arg(pedidosDepois)
                                .arg(itensDepois)
                                .arg(completo ? QString() : QStringLiteral(" (INCOMPLETE)")));
        BancadaSync::alvo(QStringLiteral("save + restore < 30 s"), completo && salva + restaura < 30000.0,
                          QStringLiteral("%1 ms").arg(salva + restaura, 0, 'f', 1));
        BancadaSync::figura(QStringLiteral("peak memory (VmHWM)"),
                            QStringLiteral("%1 MiB").arg(BancadaSync::picoMemoriaKb() / 1024.0, 0, 'f', 1));
        dat->cnxFirebird.close();
    } catch (const DatabaseError &e) {
        std::fprintf(stderr, "bench_orcamentos: %s\n", qUtf8Printable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_orcamentos: %s\n", e.what());
        return 1;
    }
    return 0;
}
