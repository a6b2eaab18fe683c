// bench_carga: many notebooks synchronising at once with the reference server over loopback.
// A demo company (normal scale) is generated in a temporary folder; the server runs as its own
// process with one user and seller per notebook; each notebook is a copy of the demo notebook
// configured for its user, with its own orders, a new customer and a message, and runs the
// program's `korvex sync` as its own process. First all of them synchronise at once; then, with
// new work each, all again while some drop the link at a random step of the dialogue and retry.
// Afterwards the central database must hold every row exactly once.
//
//   bench_carga [--notebooks 50] [--quedas 10]
#include "BancadaSync.h"
#include "ConsultaServidor.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "ProxyQueda.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

const QString kVersao = QStringLiteral("1.0.2.6");
const int kPedidos = 5;   // orders per notebook and round
const int kItens = 8;     // items per order

QString programa(const char *nome)
{
    return QStringLiteral(KORVEX_BIN_DIR) + u'/' + QLatin1String(nome);
}

int opcao(int argc, char **argv, const char *nome, int padrao)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], nome) == 0)
            return QString::fromLocal8Bit(argv[i + 1]).toInt();
    return padrao;
}

quint16 portaLivre()
{
    QTcpServer sonda;
    if (!sonda.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("no free port");
    return sonda.serverPort();
}

void executa(const QString &nome, const QStringList &argumentos)
{
    QProcess processo;
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.start(nome, argumentos);
    if (!processo.waitForFinished(10 * 60 * 1000) || processo.exitCode() != 0)
        throw std::runtime_error(nome.toStdString() + " failed: " + processo.readAll().toStdString());
}

qint64 memoriaKb(qint64 pid, const char *campo)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QList<QByteArray> linhas = status.readAll().split('\n');
    for (const QByteArray &linha : linhas) {
        if (linha.startsWith(campo))
            return linha.mid(qstrlen(campo)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

struct Notebook
{
    QString pasta;
    int usuario = 0;
    int vendedor = 0;
    double ms = -1;
    bool sucesso = false;
    QByteArray saida;
};

void definePorta(const Notebook &n, quint16 porta)
{
    QFile ini(QDir(n.pasta).filePath(QStringLiteral("SisCon.ini")));
    if (!ini.open(QIODevice::ReadOnly))
        throw std::runtime_error("no SisCon.ini");
    QString texto = QString::fromLatin1(ini.readAll());
    ini.close();
    texto.replace(QRegularExpression(QStringLiteral("PORTA_KQX=\\d*")), QStringLiteral("PORTA_KQX=%1").arg(porta));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write SisCon.ini");
    ini.write(texto.toLatin1());
}

// The round's own work of a notebook: orders with items, a new customer and a message.
void acrescentaTrabalho(const Notebook &n, int rodada, const QString &empresa, const QString &cliente,
                        const QStringList &produtos, const QString &destinatario)
{
    FirebirdConnection cnx(QStringLiteral("carga_%1_%2").arg(n.usuario).arg(rodada));
    cnx.setDatabaseName(QDir(n.pasta).filePath(QStringLiteral("ORVALIS.FDB")));
    cnx.open();
    const QVariantMap base{{QStringLiteral("EMP"), empresa}, {QStringLiteral("VEN"), n.vendedor},
                           {QStringLiteral("CLI"), cliente}};
    for (int p = 0; p < kPedidos; ++p) {
        QVariantMap v = base;
        v.insert(QStringLiteral("PDF"), 900000 + rodada * 100 + p);
        cnx.execute(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, TOTPDF, SITPDF, "
                                   "CODVEN, PDFORC, OBSCLI) VALUES (:EMP, :PDF, 0, CURRENT_DATE, :CLI, 0, 80, 'D', :VEN, "
                                   "'N', 'carga')"),
                    v);
        for (int i = 0; i < kItens; ++i) {
            v.insert(QStringLiteral("PRO"), produtos.at(i % produtos.size()));
            v.insert(QStringLiteral("CCU"), 1);
            cnx.execute(QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, "
                                       "VLRTOT, SITIPF) VALUES (:EMP, :CCU, :PDF, :PRO, 0, 'ITEM', 1, 10, 10, 'D')"),
                        v);
        }
    }
    QVariantMap c = base;
    c.insert(QStringLiteral("NOV"), 9900001 + rodada);
    cnx.execute(QStringLiteral("INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, SITCLI, STUCLI) "
                               "VALUES (:EMP, 0, :NOV, :VEN, 'CLIENTE DA CARGA', 'A', 'N')"),
                c);
    QVariantMap m{{QStringLiteral("EMP"), empresa}, {QStringLiteral("MSG"), 900001 + rodada},
                  {QStringLiteral("USU"), n.usuario}, {QStringLiteral("DST"), destinatario}};
    cnx.execute(QStringLiteral("INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, SITMSG, ENVMSG) "
                               "VALUES (:EMP, :MSG, :USU, 'CARGA', 'mensagem da carga', 'L', 'N')"),
                m);
    cnx.execute(QStringLiteral("INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (:EMP, :MSG, :DST)"), m);
    cnx.close();
}

// Runs `korvex sync` in each notebook at once; returns the wall time in ms.
double rodada(std::vector<Notebook> &notebooks)
{
    QEventLoop laco;
    int pendentes = static_cast<int>(notebooks.size());
    std::vector<std::unique_ptr<QProcess>> processos;
    std::vector<QElapsedTimer> relogios(notebooks.size());
    QElapsedTimer parede;
    parede.start();
    for (size_t i = 0; i < notebooks.size(); ++i) {
        auto processo = std::make_unique<QProcess>();
        processo->setWorkingDirectory(notebooks[i].pasta);
        processo->setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(processo.get(), &QProcess::finished, &laco, [&, i](int codigo, QProcess::ExitStatus estado) {
            notebooks[i].ms = relogios[i].nsecsElapsed() / 1e6;
            notebooks[i].sucesso = estado == QProcess::NormalExit && codigo == 0;
            notebooks[i].saida = processos[i]->readAll();
            if (--pendentes == 0)
                laco.quit();
        });
        relogios[i].start();
        processo->start(programa("korvex"), {QStringLiteral("sync")});
        processos.push_back(std::move(processo));
    }
    QTimer::singleShot(20 * 60 * 1000, &laco, &QEventLoop::quit); // bounded: the watchdog of each is 5 minutes
    laco.exec();
    for (auto &p : processos) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished();
        }
    }
    return parede.nsecsElapsed() / 1e6;
}

void relata(const QString &nome, const std::vector<Notebook> &notebooks, double parede)
{
    QList<double> tempos;
    int sucessos = 0;
    for (const Notebook &n : notebooks) {
        tempos << n.ms;
        sucessos += n.sucesso ? 1 : 0;
    }
    std::sort(tempos.begin(), tempos.end());
    const auto percentil = [&tempos](double p) { return tempos.at(std::min<qsizetype>(tempos.size() - 1, qsizetype(p * tempos.size()))); };
    BancadaSync::figura(nome + QStringLiteral(": wall time"), QStringLiteral("%1 s").arg(parede / 1000.0, 0, 'f', 1));
    BancadaSync::figura(nome + QStringLiteral(": per exchange median / p95 / max"),
                        QStringLiteral("%1 / %2 / %3 s")
                            .arg(percentil(0.5) / 1000.0, 0, 'f', 1)
                            .arg(percentil(0.95) / 1000.0, 0, 'f', 1)
                            .arg(tempos.last() / 1000.0, 0, 'f', 1));
    BancadaSync::alvo(nome + QStringLiteral(": every exchange succeeded"), sucessos == int(notebooks.size()),
                      QStringLiteral("%1 of %2").arg(sucessos).arg(notebooks.size()));
    for (const Notebook &n : notebooks) {
        if (!n.sucesso) {
            std::fprintf(stderr, "notebook %d failed:\n%s\n", n.usuario, n.saida.constData());
            break;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int quantos = std::max(1, opcao(argc, argv, "--notebooks", 50));
    const int quedas = std::clamp(opcao(argc, argv, "--quedas", 10), 0, quantos);
    try {
        QTemporaryDir raiz(QDir::tempPath() + QStringLiteral("/korvex-bench-carga-XXXXXX"));
        const QString demo = QDir(raiz.path()).filePath(QStringLiteral("demo"));
        executa(programa("korvex-demodata"), {QStringLiteral("--out"), demo});
        const QString baseDemo = QDir(demo).filePath(QStringLiteral("ORVALIS.FDB"));

        QString empresa, cliente, destinatario;
        QStringList produtos;
        {
            FirebirdConnection cnx(QStringLiteral("carga_demo"));
            cnx.setDatabaseName(baseDemo);
            cnx.open();
            empresa = ConsultaServidor::codigo(ConsultaServidor::valor(cnx, QStringLiteral("SELECT FIRST 1 CODEMP FROM F599USU")));
            destinatario = ConsultaServidor::codigo(ConsultaServidor::valor(cnx, QStringLiteral("SELECT FIRST 1 CODUSU FROM F599USU")));
            cliente = ConsultaServidor::codigo(ConsultaServidor::valor(cnx, QStringLiteral("SELECT MIN(CODCLI) FROM F510CLI WHERE CODCLI > 0")));
            QSqlQuery consulta = ConsultaServidor::executa(cnx, QStringLiteral("SELECT FIRST 8 CODPRO FROM F511PRO WHERE CODCCU = 1"));
            while (consulta.next())
                produtos << ConsultaServidor::codigo(consulta.value(0));
            cnx.close();
        }
        if (produtos.isEmpty())
            throw std::runtime_error("the demo has no products");

        std::vector<Notebook> notebooks(quantos);
        QStringList argumentos{QStringLiteral("--data"), QDir(raiz.path()).filePath(QStringLiteral("central")),
                               QStringLiteral("--init-from"), baseDemo, QStringLiteral("--versao"), kVersao,
                               QStringLiteral("--pausa"), QStringLiteral("100"), QStringLiteral("--prazo"), QStringLiteral("600")};
        for (int i = 0; i < quantos; ++i) {
            Notebook &n = notebooks[i];
            n.usuario = 2000 + i;
            n.vendedor = 3000 + i;
            n.pasta = QDir(raiz.path()).filePath(QStringLiteral("nb%1").arg(i));
            argumentos << QStringLiteral("--usuario")
                       << QStringLiteral("%1:%2:CARGA%3:senha%3:%4").arg(empresa).arg(n.usuario).arg(i).arg(n.vendedor);
            QDir().mkpath(n.pasta);
            QFile::copy(baseDemo, QDir(n.pasta).filePath(QStringLiteral("ORVALIS.FDB")));
            QFile::copy(QDir(demo).filePath(QStringLiteral("SisCon.ini")), QDir(n.pasta).filePath(QStringLiteral("SisCon.ini")));
            FirebirdConnection cnx(QStringLiteral("carga_nb%1").arg(i));
            cnx.setDatabaseName(QDir(n.pasta).filePath(QStringLiteral("ORVALIS.FDB")));
            cnx.open();
            // This notebook's user; the demo seller's unsent work stays with the demo notebook.
            cnx.execute(QStringLiteral("UPDATE F599USU SET CODUSU = :USU, NOMUSU = :NOM, SENUSU = :SEN, CODVEN = :VEN, "
                                       "USASUP = 'N', EXPSEN = 'N', EXPANT = 'N', HSTSRV = '127.0.0.1'"),
                        {{QStringLiteral("USU"), n.usuario}, {QStringLiteral("NOM"), QStringLiteral("CARGA%1").arg(i)},
                         {QStringLiteral("SEN"), D500DAT::embaralhaSenha(QStringLiteral("senha%1").arg(i))},
                         {QStringLiteral("VEN"), n.vendedor}});
            cnx.execute(QStringLiteral("DELETE FROM F530IPF WHERE CODINT = 0"));
            cnx.execute(QStringLiteral("DELETE FROM F530PDF WHERE CODINT = 0"));
            cnx.execute(QStringLiteral("DELETE FROM F510CLI WHERE STUCLI = 'N'"));
            cnx.execute(QStringLiteral("UPDATE F510CLI SET STUCLI = 'E' WHERE STUCLI = 'A'"));
            cnx.execute(QStringLiteral("UPDATE F599MSG SET ENVMSG = 'E' WHERE ENVMSG = 'N'"));
            cnx.execute(QStringLiteral("UPDATE F599MSG SET SITMSG = 'L' WHERE SITMSG = 'A'"));
            cnx.execute(QStringLiteral("DELETE FROM F512MTF WHERE SITMOV = 'D'"));
            cnx.execute(QStringLiteral("UPDATE F530BON SET AUTBON = 'P'"));
            cnx.close();
        }

        const quint16 porta = portaLivre();
        argumentos << QStringLiteral("--port") << QString::number(porta);
        QProcess servidor;
        servidor.setProcessChannelMode(QProcess::MergedChannels);
        servidor.setStandardOutputFile(QDir(raiz.path()).filePath(QStringLiteral("servidor.log")));
        QElapsedTimer preparo;
        preparo.start();
        servidor.start(programa("korvex-syncserver"), argumentos);
        if (!servidor.waitForStarted())
            throw std::runtime_error("cannot start the server");
        for (;;) {
            QFile log(QDir(raiz.path()).filePath(QStringLiteral("servidor.log")));
            if (log.open(QIODevice::ReadOnly) && log.readAll().contains("Servidor de sincroniza"))
                break;
            if (servidor.state() != QProcess::Running || preparo.elapsed() > 10 * 60 * 1000)
                throw std::runtime_error("the server did not start");
            QThread::msleep(200);
        }
        BancadaSync::figura(QStringLiteral("notebooks"), QStringLiteral("%1 (%2 of them drop the link in the second round)")
                                                             .arg(quantos)
                                                             .arg(quedas));
        BancadaSync::figura(QStringLiteral("server ready (central base, %1 users, catalogue)").arg(quantos),
                            QStringLiteral("%1 s").arg(preparo.elapsed() / 1000.0, 0, 'f', 1));

        // Round 1: everyone at once.
        for (const Notebook &n : notebooks) {
            definePorta(n, porta);
            acrescentaTrabalho(n, 0, empresa, cliente, produtos, destinatario);
        }
        relata(QStringLiteral("round 1"), notebooks, rodada(notebooks));

        // Round 2: new work everywhere; some go through a relay that drops the link at a
        // random step, then synchronise again directly.
        QRandomGenerator sorteio(20261209);
        const QStringList passos = {QStringLiteral("#VERSAO#"),   QStringLiteral("#SENHA#"),    QStringLiteral("#END_SERVER#"),
                                    QStringLiteral("#DADOS#"),    QStringLiteral("#ENVIAR#"),   QStringLiteral("#RECEBIDO#"),
                                    QStringLiteral("#PROCESSADO#"), QStringLiteral("#GERANDO#"), QStringLiteral("#ENVIANDO#")};
        std::vector<std::unique_ptr<ProxyQueda>> proxies;
        QStringList cortes;
        for (int i = 0; i < quantos; ++i) {
            acrescentaTrabalho(notebooks[i], 1, empresa, cliente, produtos, destinatario);
            if (i < quedas) {
                const QString passo = passos.at(sorteio.bounded(int(passos.size())));
                cortes << passo;
                proxies.push_back(std::make_unique<ProxyQueda>(porta, passo.toLatin1()));
                definePorta(notebooks[i], proxies.back()->porta());
            }
        }
        BancadaSync::figura(QStringLiteral("round 2: links dropped at"), cortes.join(QStringLiteral(", ")));
        const double parede2 = rodada(notebooks);
        std::vector<Notebook> repetidos(notebooks.begin(), notebooks.begin() + quedas);
        int cortados = 0;
        for (int i = 0; i < quedas; ++i)
            cortados += proxies[i]->cortou() && !notebooks[i].sucesso ? 1 : 0;
        BancadaSync::alvo(QStringLiteral("round 2: the dropped links failed their exchange"), cortados == quedas,
                          QStringLiteral("%1 of %2").arg(cortados).arg(quedas));
        std::vector<Notebook> inteiros(notebooks.begin() + quedas, notebooks.end());
        relata(QStringLiteral("round 2 (links kept)"), inteiros, parede2);
        for (Notebook &n : repetidos)
            definePorta(n, porta);
        relata(QStringLiteral("round 2 retries"), repetidos, rodada(repetidos));

        const qint64 pico = memoriaKb(servidor.processId(), "VmHWM:");
        BancadaSync::figura(QStringLiteral("server peak memory (VmHWM)"), QStringLiteral("%1 MiB").arg(pico / 1024.0, 0, 'f', 1));
        servidor.terminate();
        servidor.waitForFinished(30000);

        // Every row exactly once.
        FirebirdConnection central(QStringLiteral("carga_central"));
        central.setDatabaseName(QDir(raiz.path()).filePath(QStringLiteral("central/CENTRAL.FDB")));
        central.open();
        int erradas = 0;
        for (const Notebook &n : notebooks) {
            const QVariantMap p{{QStringLiteral("USU"), n.usuario}, {QStringLiteral("VEN"), n.vendedor}};
            const auto conta = [&](const QString &sql) { return ConsultaServidor::valor(central, sql, p).toInt(); };
            const bool certo =
                conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE USUENV = :USU")) == 2 * kPedidos
                && conta(QStringLiteral("SELECT COUNT(DISTINCT CODPDF) FROM F530PDF WHERE USUENV = :USU")) == 2 * kPedidos
                && conta(QStringLiteral("SELECT COUNT(*) FROM F530IPF I JOIN F530PDF P ON P.CODEMP = I.CODEMP AND "
                                        "P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT WHERE P.USUENV = :USU"))
                       == 2 * kPedidos * kItens
                && conta(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE USUENV = :USU")) == 2 * kPedidos * kItens
                && conta(QStringLiteral("SELECT COUNT(*) FROM F510CLI WHERE CODVEN = :VEN AND CODCLI = 0")) == 2
                && conta(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE USUENV = :USU")) == 2;
            erradas += certo ? 0 : 1;
        }
        central.close();
        BancadaSync::alvo(QStringLiteral("central database holds every row exactly once"), erradas == 0,
                          QStringLiteral("%1 of %2 notebooks wrong").arg(erradas).arg(quantos));
        return 0;
    } catch (const DatabaseError &e) {
        std::fprintf(stderr, "bench_carga: %s\n", qUtf8Printable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_carga: %s\n", e.what());
        return 1;
    }
}
