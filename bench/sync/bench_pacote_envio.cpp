// The outbound package on the large data set with 500 typed orders of 20 items each waiting to
// go: geraPacoteEnvio (the script, the budget orders' files) and the script file zipped as the
// upload does it, against a plain read of the same order and item rows.
#include "BancadaSync.h"

#include "ArquivoScript.h"
#include "ArquivoZip.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "OrcamentosSincronizacao.h"
#include "PacoteEnvio.h"
#include "Relogio.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

constexpr int kPedidos = 500;
constexpr int kItens = 20;

qint64 valor(FirebirdConnection &cnx, const QString &sql)
{
    QSqlQuery q = cnx.query();
    if (!q.exec(sql) || !q.next())
        throw DatabaseError(QStringLiteral("consulta falhou: ") + sql);
    return q.value(0).toLongLong();
}

void executa(QSqlQuery &q)
{
    if (!q.exec())
        throw DatabaseError(q.lastQuery());
}

// 500 orders typed today, situation 'D', not budgets, each with 20 items of real products; the
// orders of the data set that were already waiting are taken as sent, so the package holds
// exactly these.
void insereRascunhos(FirebirdConnection &cnx, const QString &codigoVendedor)
{
    cnx.execute(QStringLiteral("UPDATE F530PDF SET SITPDF = 'L' WHERE SITPDF = 'D' AND PDFORC = 'N'"));
    const qint64 primeiro = valor(cnx, QStringLiteral("SELECT MAX(CODPDF) FROM F530PDF WHERE CODEMP = 1")) + 1;
    QList<qint64> clientes;
    {
        QSqlQuery q = cnx.query();
        q.exec(QStringLiteral("SELECT FIRST 500 CODCLI FROM F510CLI WHERE CODEMP = 1 AND CODCLI > 0 ORDER BY CODCLI"));
        while (q.next())
            clientes << q.value(0).toLongLong();
    }
    QList<qint64> produtos;
    {
        QSqlQuery q = cnx.query();
        q.exec(QStringLiteral("SELECT FIRST 2000 CODPRO FROM F511PRO ORDER BY CODPRO"));
        while (q.next())
            produtos << q.value(0).toLongLong();
    }
    if (clientes.isEmpty() || produtos.size() < kItens)
        throw DatabaseError(QStringLiteral("o banco não tem clientes ou produtos"));

    TransactionGuard transacao(cnx);
    QSqlQuery pedido = cnx.query();
    pedido.prepare(QStringLiteral(
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, "
        "CODCON, CODOPE, SITPDF, CODVEN, OBSCLI, SITFLX, PDFORC, RETPDV) VALUES (1, ?, 0, 1, ?, ?, 0, ?, 0, 1, 1, 1, "
        "'D', ?, ?, 'N', 'N', 'N')"));
    QSqlQuery item = cnx.query();
    item.prepare(QStringLiteral(
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, VLRTOT, "
        "USOFLX, QTDFAT, VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, VLRSTB, TABCOS, CODCOS, SITIPF, SITFLX) VALUES "
        "(1, 1, ?, ?, 0, ?, 'UN', ?, ?, ?, 0.15, 0, 0, 1, 5, ?, ?, 0, 0, 0, 'D', 'N')"));
    const QString hoje = QDate::currentDate().toString(Qt::ISODate);
    for (int p = 0; p < kPedidos; ++p) {
        const qint64 codigo = primeiro + p;
        pedido.bindValue(0, codigo);
        pedido.bindValue(1, hoje);
        pedido.bindValue(2, clientes.at(p % clientes.size()));
        pedido.bindValue(3, QStringLiteral("%1.50").arg(kItens * 21));
        pedido.bindValue(4, codigoVendedor);
        pedido.bindValue(5, QStringLiteral("Entregar pela manhã, pedido %1 d'água").arg(p));
        executa(pedido);
        for (int i = 0; i < kItens; ++i) {
            const qint64 produto = produtos.at((p * 7 + i * 13) % produtos.size());
            item.bindValue(0, codigo);
            item.bindValue(1, produto);
            item.bindValue(2, QStringLiteral("Produto %1 açúcar").arg(produto));
            item.bindValue(3, QStringLiteral("%1").arg(i + 1));
            item.bindValue(4, QStringLiteral("10.475"));
            item.bindValue(5, QStringLiteral("%1").arg((i + 1) * 10.475, 0, 'f', 3));
            item.bindValue(6, QStringLiteral("10.475"));
            item.bindValue(7, QStringLiteral("10.990"));
            executa(item);
        }
    }
    transacao.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dados = BancadaSync::pastaDados(argc, argv);
    if (dados.isEmpty()) {
        std::fprintf(stderr, "usage: bench_pacote_envio --data DIR\n");
        return 2;
    }
    try {
        BancadaSync::CopiaDados copia(dados);
        auto dat = BancadaSync::abreNotebook(copia.base());
        FirebirdConnection &cnx = dat->cnxFirebird;
        insereRascunhos(cnx, dat->sessao.CODVEN);
        BancadaSync::figura(QStringLiteral("pending orders / items"),
                            QStringLiteral("%1 / %2 (budget orders: %3)")
                                .arg(valor(cnx, QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE SITPDF = 'D' "
                                                               "AND PDFORC = 'N'")))
                                .arg(valor(cnx, QStringLiteral("SELECT COUNT(*) FROM F530IPF I JOIN F530PDF P ON "
                                                               "P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND "
                                                               "P.CODINT = I.CODINT WHERE P.SITPDF = 'D' AND "
                                                               "P.PDFORC = 'N'")))
                                .arg(valor(cnx, QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE PDFORC = 'S'"))));

        QList<double> leituras;
        for (int i = 0; i < 3; ++i)
            leituras << BancadaSync::tempoMs([&] {
                BancadaSync::leLinhas(cnx, PacoteEnvio::kSelectPedidos);
                BancadaSync::leLinhas(cnx, PacoteEnvio::kSelectItens);
            });
        std::sort(leituras.begin(), leituras.end());
        const double baseline = leituras.at(1);
        BancadaSync::figura(QStringLiteral("baseline: plain read of the orders' and items' rows"),
                            QStringLiteral("%1 ms (median of 3)").arg(baseline, 0, 'f', 1));

        OrcamentosSincronizacao orcamentos(cnx);
        PacoteEnvio pacote(*dat, orcamentos, copia.pasta());
        const QString nome = QStringLiteral("ORVA") + dat->sessao.CODEMP + QLatin1Char('_') + dat->sessao.CODUSU;
        const QString script = QDir(copia.pasta()).filePath(nome + QStringLiteral(".SCP"));
        const QString arquivoZip = QDir(copia.pasta()).filePath(nome + QStringLiteral(".KXD"));

        QList<double> totais;
        double gera = 0;
        double compacta = 0;
        for (int i = 0; i < 3; ++i) {
            bool ok = true;
            const double g = BancadaSync::tempoMs([&] { ok = pacote.geraPacoteEnvio(Relogio::agora()); });
            const double z = BancadaSync::tempoMs([&] {
                ok = ArquivoScript::grava(script, dat->scriptEnvio) && ArquivoZip::compacta(script, arquivoZip).ok()
                     && ok;
            });
            if (!ok || pacote.interrompido())
                throw DatabaseError(QStringLiteral("o pacote não foi gerado"));
            BancadaSync::figura(QStringLiteral("run %1").arg(i + 1),
                                QStringLiteral("geraPacoteEnvio %1 ms + script file and zip %2 ms")
                                    .arg(g, 0, 'f', 1)
                                    .arg(z, 0, 'f', 1));
            totais << g + z;
            gera += g / 3;
            compacta += z / 3;
        }
        BancadaSync::figura(QStringLiteral("script"), QStringLiteral("%1 statements, %2 bytes, zipped %3 bytes")
                                                          .arg(dat->scriptEnvio.size())
                                                          .arg(QFileInfo(script).size())
                                                          .arg(QFileInfo(arquivoZip).size()));
        std::sort(totais.begin(), totais.end());
        const double mediana = totais.at(1);
        BancadaSync::figura(QStringLiteral("package (script + zip)"),
                            QStringLiteral("%1 ms median (mean geraPacoteEnvio %2 ms, zip %3 ms), %4 x baseline")
                                .arg(mediana, 0, 'f', 1)
                                .arg(gera, 0, 'f', 1)
                                .arg(compacta, 0, 'f', 1)
                                .arg(mediana / baseline, 0, 'f', 1));
        // Where the time goes: the package's steps one by one.
        {
            const QString emp = dat->sessao.CODEMP;
            const QString ven = dat->sessao.CODVEN;
            const QString usu = dat->sessao.CODUSU;
            auto passo = [&](const QString &nome, const QString &tabela, const QString &sequencia, double momento,
                             const QString &consulta, const QString &colunas) {
                dat->scriptEnvio.clear();
                const double t = BancadaSync::tempoMs(
                    [&] { dat->geraInsercoes(tabela, sequencia, momento, consulta, colunas); });
                BancadaSync::figura(QStringLiteral("  step ") + nome,
                                    QStringLiteral("%1 ms, %2 statements").arg(t, 0, 'f', 1).arg(dat->scriptEnvio.size()));
            };
            passo(QStringLiteral("orders"), QStringLiteral("F530PDF"), QStringLiteral("SQCPDF") + emp, 45000.5,
                  PacoteEnvio::kSelectPedidos, PacoteEnvio::colunasPedidos);
            passo(QStringLiteral("items"), QStringLiteral("F530IPF"), QString(), 45000.5, PacoteEnvio::kSelectItens,
                  PacoteEnvio::colunasItens);
            passo(QStringLiteral("customers"), QStringLiteral("F510CLI"), QString(), 45000.5,
                  PacoteEnvio::consultaClientes(ven), PacoteEnvio::colunasClientes);
            passo(QStringLiteral("messages"), QStringLiteral("F599MSG"), QStringLiteral("SQCMSG") + emp, 0,
                  PacoteEnvio::consultaMensagens(emp, usu), PacoteEnvio::colunasMensagens);
            passo(QStringLiteral("flex movements"), QStringLiteral("F512MTF"), QString(), 45000.5,
                  PacoteEnvio::kSelectMovimentosFlex, PacoteEnvio::colunasMovimentosFlex);
            const double orc = BancadaSync::tempoMs([&] { orcamentos.salvaOrcamentos(copia.pasta()); });
            BancadaSync::figura(QStringLiteral("  step budget orders' files"), QStringLiteral("%1 ms").arg(orc, 0, 'f', 1));
            TClientDataSetPlus &itens = orcamentos.cdsORCITEM();
            itens.close();
            itens.setCommandText(OrcamentosSincronizacao::kSelectItensOrcamentos);
            const double abre = BancadaSync::tempoMs([&] { itens.open(); });
            const QString xml = QDir(copia.pasta()).filePath(QStringLiteral("itens.xml"));
            const double grava = BancadaSync::tempoMs([&] { itens.saveToFile(xml); });
            itens.close();
            BancadaSync::figura(QStringLiteral("    of which the items: opening / saving"),
                                QStringLiteral("%1 ms / %2 ms").arg(abre, 0, 'f', 1).arg(grava, 0, 'f', 1));
            dat->scriptEnvio.clear();
            pacote.geraPacoteEnvio(Relogio::agora());
            const double arquivoScript = BancadaSync::tempoMs([&] { ArquivoScript::grava(script, dat->scriptEnvio); });
            const double zip = BancadaSync::tempoMs([&] { ArquivoZip::compacta(script, arquivoZip); });
            BancadaSync::figura(QStringLiteral("  step script file / zip"),
                                QStringLiteral("%1 ms / %2 ms").arg(arquivoScript, 0, 'f', 1).arg(zip, 0, 'f', 1));
        }
        BancadaSync::alvo(QStringLiteral("package < 2 s"), mediana < 2000.0,
                          QStringLiteral("%1 ms").arg(mediana, 0, 'f', 1));
        BancadaSync::figura(QStringLiteral("peak memory (VmHWM)"),
                            QStringLiteral("%1 MiB").arg(BancadaSync::picoMemoriaKb() / 1024.0, 0, 'f', 1));
        cnx.close();
        return 0;
    } catch (const DatabaseError &e) {
        std::fprintf(stderr, "bench_pacote_envio: %s\n", qUtf8Printable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_pacote_envio: %s\n", e.what());
        return 1;
    }
}
