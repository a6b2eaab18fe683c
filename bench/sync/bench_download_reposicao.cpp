// The download of the user's database on the large data set: the program's sync client against
// the reference server (a child process) receives the package, extracts it, swaps ORVALIS.FDB,
// reopens it and reads the user row; the baseline is a plain loopback copy of the same bytes
// into a file, measured in the same run.
#include "BancadaSync.h"

#include "ArquivoZip.h"
#include "ClienteSincronizacao.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "LinhasStatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <thread>

namespace {

const QString kVersao = QStringLiteral("1.0.2.6");

quint16 portaLivre()
{
    QTcpServer sonda;
    if (!sonda.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("no free port");
    return sonda.serverPort();
}

// The reference server as its own process, its central base made from the notebook's copy.
class ServidorFilho
{
public:
    ServidorFilho(const QString &pasta, const QString &origem, quint16 porta)
    {
        const QString programa = QStringLiteral(KORVEX_BIN_DIR) + QStringLiteral("/korvex-syncserver");
        m_processo.setProcessChannelMode(QProcess::MergedChannels);
        m_processo.start(programa, {QStringLiteral("--data"), pasta, QStringLiteral("--init-from"), origem,
                                    QStringLiteral("--port"), QString::number(porta), QStringLiteral("--versao"),
                                    kVersao});
        if (!m_processo.waitForStarted())
            throw std::runtime_error("cannot start " + programa.toStdString());
        QElapsedTimer espera;
        espera.start();
        while (!m_saida.contains("Servidor de sincroniza")) {
            if (m_processo.state() != QProcess::Running || espera.elapsed() > 15 * 60 * 1000)
                throw std::runtime_error("the server did not start: " + m_saida.toStdString());
            m_processo.waitForReadyRead(1000);
            m_saida += m_processo.readAll();
        }
    }
    ~ServidorFilho()
    {
        m_processo.terminate();
        if (!m_processo.waitForFinished(30000))
            m_processo.kill();
        m_processo.waitForFinished();
    }
    qint64 pid() const { return m_processo.processId(); }
    QByteArray saida()
    {
        m_saida += m_processo.readAll();
        return m_saida;
    }

private:
    QProcess m_processo;
    QByteArray m_saida;
};

struct Medidas
{
    qint64 bytes = 0;
    double inicioDownload = -1; // ms: the package's length has arrived
    double fimDownload = -1;    // ms: the last byte, ORVALIS.KXD written
    double fim = -1;            // ms: the new database open with its user row
    bool sucesso = false;
    QStringList linhas;
    QList<double> momentos; // ms of each status line
    QList<double> cpuServidor; // ms of CPU the server had used at each status line
    int leituras = 0;       // progress reports during the download: one per read
};

// One synchronisation of the notebook in `pasta`; the received archive is kept as `copiaPacote`.
// CPU time (user + system) a process has used so far, in ms; -1 when unknown.
double cpuMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray texto = stat.readAll();
    const QList<QByteArray> campos = texto.mid(texto.lastIndexOf(')') + 2).split(' ');
    if (campos.size() < 13)
        return -1;
    return (campos.at(11).toDouble() + campos.at(12).toDouble()) * 1000.0 / ::sysconf(_SC_CLK_TCK);
}

Medidas sincroniza(D500DAT &dat, const QString &pasta, const QString &copiaPacote, qint64 pidServidor)
{
    Medidas m;
    ClienteSincronizacao cliente(dat, kVersao, pasta);
    QElapsedTimer relogio;
    QEventLoop laco;
    QObject::connect(&cliente, &ClienteSincronizacao::progresso, &laco, [&](qint64 recebidos, qint64 total) {
        ++m.leituras;
        if (m.inicioDownload < 0 && recebidos == 0) {
            m.inicioDownload = relogio.nsecsElapsed() / 1e6;
            m.bytes = total;
        }
    });
    QObject::connect(&cliente, &ClienteSincronizacao::linhaStatus, &laco, [&](const QString &linha) {
        m.linhas << linha;
        m.cpuServidor << cpuMs(pidServidor);
        m.momentos << relogio.nsecsElapsed() / 1e6;
        if (linha == LinhasStatus::extraindo) {
            m.fimDownload = relogio.nsecsElapsed() / 1e6;
            // A hard link costs no copy; the swap deletes ORVALIS.KXD.
            const QByteArray de = QFile::encodeName(QDir(pasta).filePath(QStringLiteral("ORVALIS.KXD")));
            if (::link(de.constData(), QFile::encodeName(copiaPacote).constData()) != 0)
                QFile::copy(QString::fromLocal8Bit(de), copiaPacote);
        }
    });
    QObject::connect(&cliente, &ClienteSincronizacao::finalizado, &laco, [&](bool sucesso) {
        m.fim = relogio.nsecsElapsed() / 1e6;
        m.sucesso = sucesso;
        laco.quit();
    });
    relogio.start();
    if (!cliente.iniciaAtualizacao(QStringLiteral("127.0.0.1"), QString(), QString()))
        throw std::runtime_error("the exchange did not start");
    QTimer::singleShot(30 * 60 * 1000, &laco, &QEventLoop::quit);
    laco.exec();
    return m;
}

// A plain loopback copy of `arquivo`: a thread sends it through a POSIX socket, this thread
// receives it with QTcpSocket and writes it to `destino`. Milliseconds from connect to the file
// closed.
double copiaLoopback(const QString &arquivo, const QString &destino)
{
    QFile origem(arquivo);
    if (!origem.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + arquivo.toStdString());
    const qint64 tamanho = origem.size();
    origem.close();

    QTcpServer servidor;
    if (!servidor.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("cannot listen");
    const quint16 porta = servidor.serverPort();

    QFile saida(destino);
    if (!saida.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + destino.toStdString());
    QEventLoop laco;
    QTcpSocket *socket = nullptr;
    qint64 recebidos = 0;
    QElapsedTimer relogio;
    double fim = -1;
    QObject::connect(&servidor, &QTcpServer::newConnection, &laco, [&] {
        socket = servidor.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, &laco, [&] {
            const QByteArray bytes = socket->readAll();
            saida.write(bytes);
            recebidos += bytes.size();
            if (recebidos >= tamanho) {
                saida.close();
                fim = relogio.nsecsElapsed() / 1e6;
                laco.quit();
            }
        });
    });

    relogio.start();
    std::thread emissor([&arquivo, porta] {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_port = htons(porta);
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(s, reinterpret_cast<sockaddr *>(&endereco), sizeof endereco) != 0) {
            ::close(s);
            return;
        }
        QFile f(arquivo);
        if (f.open(QIODevice::ReadOnly)) {
            QByteArray bloco(1 << 20, Qt::Uninitialized);
            for (;;) {
                const qint64 n = f.read(bloco.data(), bloco.size());
                if (n <= 0)
                    break;
                qint64 enviados = 0;
                while (enviados < n) {
                    const ssize_t k = ::send(s, bloco.constData() + enviados, static_cast<size_t>(n - enviados), 0);
                    if (k <= 0)
                        break;
                    enviados += k;
                }
            }
        }
        ::shutdown(s, SHUT_WR);
        char c;
        while (::recv(s, &c, 1, 0) > 0) {
        }
        ::close(s);
    });
    QTimer::singleShot(5 * 60 * 1000, &laco, &QEventLoop::quit);
    laco.exec();
    if (socket)
        socket->close();
    emissor.join();
    if (fim < 0)
        throw std::runtime_error("the loopback copy did not complete");
    return fim;
}

QString mbs(qint64 bytes, double ms)
{
    return QStringLiteral("%1 MB/s").arg(bytes / 1e6 / (ms / 1000.0), 0, 'f', 1);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString dados = BancadaSync::pastaDados(argc, argv);
    if (dados.isEmpty()) {
        std::fprintf(stderr, "usage: bench_download_reposicao --data DIR\n");
        return 2;
    }
    try {
        BancadaSync::CopiaDados notebook(dados);
        QTemporaryDir trabalho(QDir::tempPath() + QStringLiteral("/korvex-bench-servidor-XXXXXX"));
        const QString pacote = QDir(trabalho.path()).filePath(QStringLiteral("pacote.kxd"));

        QElapsedTimer preparo;
        preparo.start();
        const quint16 porta = portaLivre();
        ServidorFilho servidor(QDir(trabalho.path()).filePath(QStringLiteral("central")), notebook.base(), porta);
        BancadaSync::figura(QStringLiteral("central base made from the data set, company catalogue built"),
                            QStringLiteral("%1 s").arg(preparo.elapsed() / 1000.0, 0, 'f', 1));

        auto dat = BancadaSync::abreNotebook(notebook.base());
        // The budget orders' carry-over is measured by bench_orcamentos; here the swap alone.
        dat->cnxFirebird.execute(QStringLiteral(
            "DELETE FROM F530IPF I WHERE EXISTS (SELECT 1 FROM F530PDF P WHERE P.CODEMP = I.CODEMP AND "
            "P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT AND P.PDFORC = 'S')"));
        dat->cnxFirebird.execute(QStringLiteral("DELETE FROM F530PDF WHERE PDFORC = 'S'"));
        dat->sessao.portaServidor = QString::number(porta);
        const QString usuarioAntes = dat->sessao.NOMUSU;

        const qint64 memoriaAntes = BancadaSync::picoMemoriaKb();
        const Medidas m = sincroniza(*dat, notebook.pasta(), pacote, servidor.pid());
        const qint64 memoriaDepois = BancadaSync::picoMemoriaKb();
        if (!m.sucesso || m.inicioDownload < 0) {
            std::fprintf(stderr, "bench_download_reposicao: the exchange failed:\n%s\n%s\n",
                         qUtf8Printable(m.linhas.join(u'\n')), servidor.saida().constData());
            return 1;
        }
        for (int i = 0; i < m.linhas.size(); ++i)
            BancadaSync::figura(QStringLiteral("  at %1 ms").arg(m.momentos.at(i), 8, 'f', 0), m.linhas.at(i));
        // From "#GERANDO#" to "#ENVIANDO#": the server builds and zips the user's file (the
        // company's catalogue was built when the server started, printed above).
        const qsizetype gerando = m.linhas.indexOf(LinhasStatus::gerando);
        const qsizetype recebendo = m.linhas.indexOf(LinhasStatus::recebendo);
        if (gerando >= 0 && recebendo > gerando) {
            const double geracao = m.momentos.at(recebendo) - m.momentos.at(gerando);
            const double cpu = m.cpuServidor.at(recebendo) - m.cpuServidor.at(gerando);
            BancadaSync::alvo(QStringLiteral("user's file generated and zipped by the server <= 5 s"), geracao <= 5000,
                              QStringLiteral("%1 s").arg(geracao / 1000.0, 0, 'f', 2));
            // On a shared machine the wall time is mostly waiting for a core; the CPU time is not.
            BancadaSync::figura(QStringLiteral("  server CPU time meanwhile (user + system)"),
                                QStringLiteral("%1 s").arg(cpu / 1000.0, 0, 'f', 2));
        }
        const double download = m.fimDownload - m.inicioDownload;
        const double completo = m.fim - m.inicioDownload;
        BancadaSync::figura(QStringLiteral("package"), QStringLiteral("%1 bytes (%2 MB)")
                                                           .arg(m.bytes)
                                                           .arg(m.bytes / 1e6, 0, 'f', 1));
        BancadaSync::figura(QStringLiteral("whole exchange until the package's length"),
                            QStringLiteral("%1 ms").arg(m.inicioDownload, 0, 'f', 0));
        BancadaSync::figura(QStringLiteral("reads during the download"),
                            QStringLiteral("%1 (%2 KiB each on average)")
                                .arg(m.leituras)
                                .arg(m.bytes / 1024.0 / std::max(1, m.leituras), 0, 'f', 1));
        BancadaSync::figura(QStringLiteral("client: download only"),
                            QStringLiteral("%1 ms, %2").arg(download, 0, 'f', 1).arg(mbs(m.bytes, download)));
        BancadaSync::figura(QStringLiteral("client: download + extraction + swap + reopen + user row (b)"),
                            QStringLiteral("%1 ms, %2").arg(completo, 0, 'f', 1).arg(mbs(m.bytes, completo)));
        BancadaSync::figura(QStringLiteral("user row after the swap"),
                            QStringLiteral("%1 (before: %2)").arg(dat->sessao.NOMUSU, usuarioAntes));

        // Where the time after the download goes, on the same package.
        const QString extraido = QDir(trabalho.path()).filePath(QStringLiteral("extraido.FDB"));
        QStringList entradas;
        ArquivoZip::listaEntradas(pacote, entradas);
        const double extracao = BancadaSync::tempoMs([&] {
            if (!ArquivoZip::extrai(pacote, entradas.value(0), extraido).ok())
                throw std::runtime_error("cannot extract the package again");
        });
        BancadaSync::figura(QStringLiteral("  of which extraction alone"),
                            QStringLiteral("%1 ms (%2 MB written)")
                                .arg(extracao, 0, 'f', 1)
                                .arg(QFileInfo(extraido).size() / 1e6, 0, 'f', 1));
        const double abertura = BancadaSync::tempoMs([&] {
            FirebirdConnection conexao(QStringLiteral("bancadaAbertura"));
            conexao.setDatabaseName(extraido);
            conexao.open();
            QSqlQuery usuario = conexao.query();
            if (!usuario.exec(QStringLiteral("SELECT * FROM F599USU")) || !usuario.next())
                throw std::runtime_error("no user row in the extracted database");
            usuario.finish();
            conexao.close();
        });
        BancadaSync::figura(QStringLiteral("  of which opening a database and reading the user row"),
                            QStringLiteral("%1 ms").arg(abertura, 0, 'f', 1));

        QList<double> copias;
        for (int i = 0; i < 3; ++i)
            copias << copiaLoopback(pacote, QDir(trabalho.path()).filePath(QStringLiteral("copia.kxd")));
        std::sort(copias.begin(), copias.end());
        const double baseline = copias.at(1);
        BancadaSync::figura(QStringLiteral("baseline: plain loopback socket copy into a file (a)"),
                            QStringLiteral("%1 ms, %2 (median of %3 %4 %5 ms)")
                                .arg(baseline, 0, 'f', 1)
                                .arg(mbs(m.bytes, baseline))
                                .arg(copias.at(0), 0, 'f', 1)
                                .arg(copias.at(1), 0, 'f', 1)
                                .arg(copias.at(2), 0, 'f', 1));
        // The least any client does with this archive: copy its bytes and inflate them.
        BancadaSync::figura(QStringLiteral("floor: (a) + extraction alone"),
                            QStringLiteral("%1 ms, %2; (b) / floor: %3")
                                .arg(baseline + extracao, 0, 'f', 1)
                                .arg(mbs(m.bytes, baseline + extracao))
                                .arg((baseline + extracao) / completo, 0, 'f', 2));
        const double razaoDownload = baseline / download;
        const double razao = baseline / completo;
        BancadaSync::figura(QStringLiteral("ratio download only / (a)"), QString::number(razaoDownload, 'f', 2));
        BancadaSync::alvo(QStringLiteral("(b) throughput >= 0.5 x (a)"), razao >= 0.5,
                          QStringLiteral("ratio %1").arg(razao, 0, 'f', 3));
        BancadaSync::figura(QStringLiteral("peak memory (VmHWM) before / after the exchange"),
                            QStringLiteral("%1 MiB / %2 MiB")
                                .arg(memoriaAntes / 1024.0, 0, 'f', 1)
                                .arg(memoriaDepois / 1024.0, 0, 'f', 1));
        dat->cnxFirebird.close();
        return 0;
    } catch (const DatabaseError &e) {
        std::fprintf(stderr, "bench_download_reposicao: %s\n", qUtf8Printable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_download_reposicao: %s\n", e.what());
        return 1;
    }
}
