#include "AmbienteBench.h"

#include <QApplication>

#include "D500DAT.h"
#include "DatabaseError.h"
#include "U500CAD.h"

#include <QDir>
#include <QFile>
#include <QProcess>

QString AmbienteBench::pastaDados(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (QString::fromLocal8Bit(argv[i]) == QLatin1String("--data"))
            return QString::fromLocal8Bit(argv[i + 1]);
    return QString();
}

AmbienteBench::AmbienteBench(const QString &pastaDados, Escrita escrita)
    : m_pasta(QDir::tempPath() + QStringLiteral("/korvex-bench-XXXXXX"))
{
    const QString origem = QDir(pastaDados).filePath(QStringLiteral("ORVALIS.FDB"));
    const QString copia = QDir(m_pasta.path()).filePath(QStringLiteral("ORVALIS.FDB"));
    if (!QFile::exists(origem))
        throw DatabaseError(QStringLiteral("Banco de dados não encontrado: ") + origem);
    if (!QFile::copy(origem, copia))
        throw DatabaseError(QStringLiteral("Não foi possível copiar o banco para ") + copia);
    QFile::setPermissions(copia, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (escrita == Escrita::Assincrona
        && QProcess::execute(QStringLiteral("gfix"), {QStringLiteral("-write"), QStringLiteral("async"), copia,
                                                      QStringLiteral("-user"), QStringLiteral("SYSDBA")}) != 0)
        throw DatabaseError(QStringLiteral("gfix não mudou a escrita da cópia para assíncrona."));
    const QString ini = QDir(pastaDados).filePath(QStringLiteral("SisCon.ini"));
    if (QFile::exists(ini))
        QFile::copy(ini, QDir(m_pasta.path()).filePath(QStringLiteral("SisCon.ini")));

    m_pastaAnterior = QDir::currentPath();
    QDir::setCurrent(m_pasta.path());
    m_dat = std::make_unique<D500DAT>();
    m_respostas.answers = {};
    m_dat->setMessagePresenter(&m_respostas);
    m_dat->cnxFirebird.setDatabaseName(copia);
    m_dat->cnxFirebird.open();
    m_cad = std::make_unique<D500CAD>(m_dat->cnxFirebird);
    m_dat->carregaUsuario();
    m_dat->sessao.editaRecuperados = false;
}

AmbienteBench::~AmbienteBench()
{
    m_cad.reset();
    m_dat->cnxFirebird.close();
    m_dat.reset();
    QDir::setCurrent(m_pastaAnterior);
}

int AmbienteBench::executaPrograma(int argc, char **argv, const char *nome,
                                   const std::function<void(const QString &dados, QTextStream &out)> &corpo)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString dados = pastaDados(argc, argv);
    if (dados.isEmpty()) {
        out << "usage: " << nome << " --data DIR" << Qt::endl;
        return 2;
    }
    try {
        corpo(dados, out);
    } catch (const std::exception &e) {
        out << nome << " could not run: " << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
