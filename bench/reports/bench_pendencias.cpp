// "Relatório de Pendências" over 100,000 pending rows: the page (toHTML) and the workbook against
// Firebird reading the same rows through a plain forward-only QSqlQuery, measured in the same run;
// peak memory; and the time until the viewer first paints the page.
#include "CatalogoRelatorios.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "ScriptedAnswerer.h"
#include "TextCodec.h"
#include "U500REL.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kLinhas = 100000;
constexpr int kExecucoes = 3;

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

double mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

double mede(const std::function<void()> &acao)
{
    QElapsedTimer t;
    t.start();
    acao();
    return t.nsecsElapsed() / 1e6;
}

QString descreve(const QList<double> &tempos)
{
    QStringList t;
    for (double x : tempos)
        t << QString::number(x, 'f', 1);
    return QStringLiteral("%1 ms (runs: %2)").arg(mediana(tempos), 0, 'f', 1).arg(t.join(QLatin1Char(' ')));
}

QString picoMemoria()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    for (const QByteArray &linha : status.readAll().split('\n'))
        if (linha.startsWith("VmHWM:"))
            return QString::fromLatin1(linha.mid(6).trimmed());
    return QStringLiteral("?");
}

void alvo(const QString &nome, double razao, double limite)
{
    out() << "  target " << nome << ": " << QString::number(razao, 'f', 2) << " <= " << limite << " -> "
          << (razao <= limite ? "PASS" : "FAIL") << Qt::endl;
}

// Pending rows of customers and products of the data set, dated over the last 60 days.
void geraPendencias(D500DAT &dat)
{
    dat.cnxFirebird.execute(QStringLiteral("DELETE FROM F500RPE"));
    dat.cnxFirebird.execute(QStringLiteral(
        "INSERT INTO F500RPE (CODEMP, CODCLI, CODCCU, CODPRO, QTDPEN, VLRPEN, DATPEN) "
        "SELECT FIRST %1 R.CODEMP, C.CODCLI, R.CODCCU, R.CODPRO, 1 + MOD(R.CODPRO, 7), 12.345 + MOD(C.CODCLI, 10), "
        "DATEADD(-MOD(C.CODCLI + R.CODPRO, 60) DAY TO CURRENT_DATE) "
        "FROM F510CLI C, F511PRO R WHERE C.CODEMP = R.CODEMP AND C.CODCLI > 0")
                                .arg(kLinhas));
}

int executa(const QString &dados)
{
    QTemporaryDir pasta;
    if (!QFile::copy(QDir(dados).filePath(QStringLiteral("ORVALIS.FDB")), pasta.filePath(QStringLiteral("ORVALIS.FDB"))))
        throw DatabaseError(QStringLiteral("ORVALIS.FDB não encontrado em %1").arg(dados));
    QFile::setPermissions(pasta.filePath(QStringLiteral("ORVALIS.FDB")), QFile::ReadOwner | QFile::WriteOwner);
    QDir::setCurrent(pasta.path());
    ScriptedAnswerer respostas;
    D500DAT dat;
    dat.setMessagePresenter(&respostas);
    dat.cnxFirebird.setDatabaseName(pasta.filePath(QStringLiteral("ORVALIS.FDB")));
    dat.cnxFirebird.open();
    dat.carregaUsuario();
    D500REL rel;
    rel.pastaPrograma = pasta.path();

    geraPendencias(dat);
    D500REL::Relatorio r = CatalogoRelatorios::R511PEN(QDate::currentDate().addDays(-60), QDate::currentDate(), false);
    r.arquivo = pasta.filePath(QStringLiteral("Relatorio.htm"));

    qint64 linhas = 0;
    auto leitura = [&] {
        QSqlQuery q = dat.cnxFirebird.query();
        q.setForwardOnly(true);
        if (!q.exec(r.sql))
            throw DatabaseError(QStringLiteral("consulta"));
        const int colunas = q.record().count();
        linhas = 0;
        while (q.next()) {
            for (int i = 0; i < colunas; ++i)
                q.value(i);
            ++linhas;
        }
    };
    const QString planilha = pasta.filePath(QStringLiteral("pendencias.xlsx"));
    // Baseline and report runs alternate, so a machine busy with other work weighs on both alike.
    QList<double> a, b, c, carga;
    QString memoriaHtml, memoriaPlanilha;
    for (int i = 0; i < kExecucoes; ++i) {
        a << mede(leitura);
        carga << mede([&] { rel.atualizaComando(r.sql); });
        rel.cdsComando->close();
        b << mede([&] {
            if (!rel.toHTML(r))
                throw DatabaseError(QStringLiteral("sem linhas"));
        });
        memoriaHtml = picoMemoria();
        c << mede([&] { rel.gravaExcel(r, planilha); });
        memoriaPlanilha = picoMemoria();
    }
    out() << "  rows: " << linhas << Qt::endl;
    out() << "  baseline, Firebird reading the rows (a): " << descreve(a) << Qt::endl;
    out() << "  of the report, the rows held in memory alone: " << descreve(carga) << Qt::endl;
    out() << "  toHTML (b): " << descreve(b) << ", file " << QFileInfo(r.arquivo).size() / 1024 << " KiB, peak memory "
          << memoriaHtml << Qt::endl;
    alvo(QStringLiteral("(b)/(a)"), mediana(b) / mediana(a), 1.5);
    out() << "  workbook (c): " << descreve(c) << ", file " << QFileInfo(planilha).size() / 1024
          << " KiB, peak memory " << memoriaPlanilha << Qt::endl;
    alvo(QStringLiteral("(c)/(a)"), mediana(c) / mediana(a), 3.0);

    // The viewer: the file read and decoded, laid out, and painted once.
    QTextBrowser browser;
    browser.resize(1366, 768);
    QElapsedTimer t;
    t.start();
    QFile arquivo(r.arquivo);
    arquivo.open(QIODevice::ReadOnly);
    browser.setHtml(TextCodec::fromWindows1252(arquivo.readAll()));
    const double carregado = t.nsecsElapsed() / 1e6;
    browser.show();
    browser.viewport()->repaint();
    out() << "  viewer: page set " << QString::number(carregado, 'f', 1) << " ms, first paint "
          << QString::number(t.nsecsElapsed() / 1e6, 'f', 1) << " ms, peak memory " << picoMemoria() << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int i = int(args.indexOf(QStringLiteral("--data")));
    if (i < 0 || i + 1 >= args.size()) {
        std::fprintf(stderr, "uso: bench_pendencias --data PASTA\n");
        return 1;
    }
    out() << "Relatório de Pendências, " << kLinhas << " pending rows, median of " << kExecucoes << Qt::endl;
    try {
        return executa(args.at(i + 1));
    } catch (const DatabaseError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
}
