#include "ConfiguracaoSistema.h"
#include "PastaPrograma.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A machine in a temporary folder: working folder, user data folder, installed empty database
// and the company's configuration.
struct Maquina
{
    QTemporaryDir raiz;
    PastaPrograma::Locais locais;

    Maquina()
    {
        const QDir dir(raiz.path());
        dir.mkpath(QStringLiteral("atual"));
        locais.pastaAtual = dir.filePath(QStringLiteral("atual"));
        locais.pastaDados = dir.filePath(QStringLiteral("dados/Korvex"));
        locais.modeloBase = dir.filePath(QStringLiteral("ORVALIS.FDB"));
        locais.configuracaoEmpresa = dir.filePath(QStringLiteral("etc-SisCon.ini"));
        escreve(locais.modeloBase, "base vazia");
    }
    static void escreve(const QString &arquivo, const QByteArray &bytes)
    {
        QFile file(arquivo);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray le(const QString &arquivo)
    {
        QFile file(arquivo);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

// Guards the choice of folder: --pasta wins and leaves the arguments of the command, a working
// folder with SisCon.ini is used as it is (demo and tests), anything else is the data folder.
TEST(PastaPrograma, EscolheAPastaEConsomeAOpcao)
{
    Maquina m;
    QStringList argumentos{QStringLiteral("korvex"), QStringLiteral("sync"), QStringLiteral("--pasta"),
                           QStringLiteral("loja"), QStringLiteral("--server"), QStringLiteral("h")};
    PastaPrograma::Escolha e = PastaPrograma::escolhe(argumentos, m.locais);
    EXPECT_EQ(e.pasta, QDir(m.locais.pastaAtual).filePath(QStringLiteral("loja")));
    EXPECT_TRUE(e.completar);
    EXPECT_EQ(argumentos, (QStringList{QStringLiteral("korvex"), QStringLiteral("sync"), QStringLiteral("--server"),
                                       QStringLiteral("h")}));

    argumentos = QStringList{QStringLiteral("korvex")};
    e = PastaPrograma::escolhe(argumentos, m.locais);
    EXPECT_EQ(e.pasta, m.locais.pastaDados);
    EXPECT_TRUE(e.completar);

    Maquina::escreve(QDir(m.locais.pastaAtual).filePath(ConfiguracaoSistema::nomeArquivo()), "[CONFIG]\r\n");
    e = PastaPrograma::escolhe(argumentos, m.locais);
    EXPECT_EQ(e.pasta, m.locais.pastaAtual);
    EXPECT_FALSE(e.completar) << "a demo folder is used as it is";

    argumentos = QStringList{QStringLiteral("korvex"), QStringLiteral("--pasta=/srv/vendas")};
    EXPECT_EQ(PastaPrograma::escolhe(argumentos, m.locais).pasta, QStringLiteral("/srv/vendas"));
    for (const QString &incompleta : {QStringLiteral("--pasta"), QStringLiteral("--pasta=")}) {
        argumentos = QStringList{QStringLiteral("korvex"), incompleta};
        EXPECT_FALSE(PastaPrograma::escolhe(argumentos, m.locais).erro.isEmpty()) << incompleta.toStdString();
    }
}

// Guards the first start: the folder gets the empty database and a SisCon.ini with the company's
// port and text (in the program's 1252 text), and a second start changes nothing the seller has.
TEST(PastaPrograma, PrimeiroInicioCriaBaseEConfiguracao)
{
    Maquina m;
    Maquina::escreve(m.locais.configuracaoEmpresa, "[CONFIG]\nPORTA_KQX=6200\nEMPRESA=Distribuidora S\xE3o Jo\xE3o\n");
    const QDir pasta(m.locais.pastaDados);
    ASSERT_EQ(PastaPrograma::completa(pasta.path(), m.locais), QString());
    EXPECT_EQ(Maquina::le(pasta.filePath(QStringLiteral("ORVALIS.FDB"))), QByteArray("base vazia"));
    const ConfiguracaoSistema config = ConfiguracaoSistema::carrega(pasta.filePath(ConfiguracaoSistema::nomeArquivo()));
    EXPECT_EQ(config.portaKqx(), QStringLiteral("6200"));
    EXPECT_EQ(config.empresa(), QStringLiteral("Distribuidora São João"));
    EXPECT_TRUE(QFileInfo(pasta.filePath(QStringLiteral("ORVALIS.FDB"))).isWritable());

    Maquina::escreve(pasta.filePath(QStringLiteral("ORVALIS.FDB")), "base do vendedor");
    Maquina::escreve(m.locais.configuracaoEmpresa, "[CONFIG]\nPORTA_KQX=7000\n");
    ASSERT_EQ(PastaPrograma::completa(pasta.path(), m.locais), QString());
    EXPECT_EQ(Maquina::le(pasta.filePath(QStringLiteral("ORVALIS.FDB"))), QByteArray("base do vendedor"));
    EXPECT_EQ(ConfiguracaoSistema::carrega(pasta.filePath(ConfiguracaoSistema::nomeArquivo())).portaKqx(),
              QStringLiteral("6200"));

    // A database swap cut short: the old file is put back later, not replaced by an empty one.
    QFile::rename(pasta.filePath(QStringLiteral("ORVALIS.FDB")), pasta.filePath(QStringLiteral("ORVALIS.OLD")));
    ASSERT_EQ(PastaPrograma::completa(pasta.path(), m.locais), QString());
    EXPECT_FALSE(QFile::exists(pasta.filePath(QStringLiteral("ORVALIS.FDB"))));
}

// Guards the defaults and the failures: without the company's file the server's usual port;
// without the installed database a message that says what to do, and no database file.
TEST(PastaPrograma, SemConfiguracaoDaEmpresaESemBaseInstalada)
{
    Maquina m;
    const QDir pasta(m.locais.pastaDados);
    ASSERT_EQ(PastaPrograma::completa(pasta.path(), m.locais), QString());
    EXPECT_EQ(ConfiguracaoSistema::carrega(pasta.filePath(ConfiguracaoSistema::nomeArquivo())).portaKqx(),
              PastaPrograma::portaPadrao());

    QFile::remove(m.locais.modeloBase);
    const QString outra = QDir(m.raiz.path()).filePath(QStringLiteral("outra"));
    const QString erro = PastaPrograma::completa(outra, m.locais);
    EXPECT_TRUE(erro.contains(QStringLiteral("reinstale"))) << erro.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(outra).filePath(QStringLiteral("ORVALIS.FDB"))));
}
