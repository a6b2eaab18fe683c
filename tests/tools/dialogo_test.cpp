#include "ArquivoScript.h"
#include "ArquivoZip.h"
#include "DatabaseError.h"
#include "DialogoServidor.h"
#include "EnquadramentoBinario.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// The central database, recorded instead of consulted.
class ServicosFalsos : public ServicosServidor
{
public:
    bool aceita = true;
    bool falhaAutenticacao = false;
    bool falhaScript = false;
    bool falhaBase = false;
    QString nome, senha, endereco;
    QStringList script;
    QByteArray conteudoBase = QByteArray("conteúdo da base gerada").repeated(50);

    std::optional<UsuarioServidor> autentica(const QString &n, const QString &s) override
    {
        nome = n;
        senha = s;
        if (falhaAutenticacao)
            throw DatabaseError(QStringLiteral("base central indisponível"));
        if (!aceita)
            return std::nullopt;
        return UsuarioServidor{QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("MARCOS")};
    }
    void gravaServidor(const UsuarioServidor &, const QString &e) override { endereco = e; }
    int executaScript(const UsuarioServidor &, const QStringList &linhas) override
    {
        if (falhaScript)
            throw DatabaseError(QStringLiteral("violação de chave"));
        script = linhas;
        return static_cast<int>(linhas.size());
    }
    void geraPacote(const UsuarioServidor &usuario, const QString &pacote) override
    {
        if (falhaBase)
            throw DatabaseError(QStringLiteral("disco cheio"));
        const QString arquivo = QFileInfo(pacote).dir().filePath(usuario.nomePacote() + QStringLiteral(".FDB"));
        QFile f(arquivo);
        f.open(QIODevice::WriteOnly);
        f.write(conteudoBase);
        f.close();
        ArquivoZip::compacta(arquivo, pacote);
    }
};

// A dialogue wired to recorders; its pauses wait in a list until the test runs them.
class DialogoGravado
{
public:
    ServicosFalsos servicos;
    QTemporaryDir pasta;
    std::unique_ptr<DialogoServidor> dialogo;
    QList<QByteArray> enviados;
    int encerramentos = 0;
    std::vector<std::function<void()>> pausas;

    explicit DialogoGravado(std::chrono::milliseconds prazo = std::chrono::seconds(60))
    {
        DialogoServidor::Configuracao configuracao;
        configuracao.versao = QStringLiteral("1.0.2.6");
        configuracao.prazoResposta = prazo;
        configuracao.tamanhoMaximoPacote = 1 << 20;
        configuracao.pastaTrabalho = pasta.path();
        dialogo = std::make_unique<DialogoServidor>(servicos, configuracao);
        dialogo->defineAgendador([this](std::chrono::milliseconds, std::function<void()> acao) {
            pausas.push_back(std::move(acao));
        });
        QObject::connect(dialogo.get(), &DialogoServidor::envia, [this](const QByteArray &b) { enviados << b; });
        QObject::connect(dialogo.get(), &DialogoServidor::encerra, [this] { ++encerramentos; });
        dialogo->inicia();
    }

    void executaPausas()
    {
        auto agora = std::move(pausas);
        pausas.clear();
        for (auto &p : agora)
            p();
    }
    void recebe(const QByteArray &bytes) { dialogo->recebe(bytes); }
    void recebe(const char *texto) { dialogo->recebe(QByteArray(texto)); }
    QString ultimo() const { return enviados.isEmpty() ? QString() : QString::fromLatin1(enviados.last()); }

    // Hello, version, password and address answered: the server has asked for data.
    void identifica()
    {
        recebe("#KORVEX#0#0");
        recebe("#VERSAO#1.0.2.6");
        recebe("#USUSENHA#MARCOS#SEN$#x#9");
        recebe("#GRV_SERVER#127.0.0.1");
    }

    // The archive the notebook uploads, framed.
    QByteArray pacoteScript(const QStringList &linhas, const QString &nomeEntrada = QStringLiteral("ORVA1_7.SCP"))
    {
        const QString script = QDir(pasta.path()).filePath(nomeEntrada);
        const QString zip = QDir(pasta.path()).filePath(QStringLiteral("envio.KXD"));
        ArquivoScript::grava(script, linhas);
        ArquivoZip::compacta(script, zip);
        QFile f(zip);
        f.open(QIODevice::ReadOnly);
        return EnquadramentoBinario::enquadra(f.readAll());
    }
};

QStringList tokens(const QList<QByteArray> &enviados)
{
    QStringList lista;
    for (const QByteArray &b : enviados)
        lista << QString::fromLatin1(b.left(40));
    return lista;
}

} // namespace

// Guards against the server leading the dialogue out of order, or putting two tokens in one
// write where the notebook sends no reply in between (it would read them as one message).
TEST(DialogoServidor, TrocaCompletaUmTokenPorVez)
{
    DialogoGravado d;
    d.recebe("#KORVEX#0#0");
    EXPECT_EQ(d.ultimo(), QStringLiteral("#VERSAO#"));
    d.recebe("#VERSAO#1.0.2.6");
    EXPECT_EQ(d.ultimo(), QStringLiteral("#SENHA#"));
    d.recebe("#USUSENHA#MARCOS#SEN$#a#SEN$#b");
    EXPECT_EQ(d.servicos.nome, QStringLiteral("MARCOS"));
    EXPECT_EQ(d.servicos.senha, QStringLiteral("a#SEN$#b"));
    EXPECT_EQ(d.ultimo(), QStringLiteral("#END_SERVER#1#7"));
    d.recebe("#GRV_SERVER#servidor.local");
    EXPECT_EQ(d.servicos.endereco, QStringLiteral("servidor.local"));
    EXPECT_EQ(d.ultimo(), QStringLiteral("#DADOS#1#7"));
    d.recebe("#TEMDADOS#");
    EXPECT_EQ(d.ultimo(), QStringLiteral("#ENVIAR#"));

    const QStringList linhas = {QStringLiteral(" INSERT INTO F599MSG (A)  SELECT 'ação' FROM DUAL "),
                                QStringLiteral("UPDATE F530PDF SET SITPDF = 'L'")};
    d.recebe(d.pacoteScript(linhas));
    EXPECT_EQ(d.ultimo(), QStringLiteral("#RECEBIDO#"));
    d.recebe("#PROCESSA#1#7");
    EXPECT_EQ(d.servicos.script, linhas);
    EXPECT_EQ(d.ultimo(), QStringLiteral("#PROCESSADO#"));
    d.recebe("#GERADADOS#1#7");
    EXPECT_EQ(d.ultimo(), QStringLiteral("#GERANDO#"));

    const qsizetype antes = d.enviados.size();
    ASSERT_EQ(d.pausas.size(), 1u);
    d.executaPausas();
    EXPECT_EQ(d.enviados.size(), antes + 1);
    EXPECT_EQ(d.ultimo(), QStringLiteral("#ENVIANDO#"));
    EXPECT_EQ(d.encerramentos, 0);
    d.executaPausas();
    EXPECT_EQ(d.encerramentos, 1);
    EXPECT_TRUE(d.dialogo->pacoteEnviado());

    // The package: 8-byte length, then a ZIP whose one entry is ORVA1_7.FDB.
    const QByteArray quadro = d.enviados.last();
    ASSERT_GE(quadro.size(), 8);
    EXPECT_EQ(EnquadramentoBinario::leCabecalho(quadro), quadro.size() - 8);
    const QString zip = QDir(d.pasta.path()).filePath(QStringLiteral("ORVALIS.KXD"));
    QFile f(zip);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(quadro.mid(8));
    f.close();
    QStringList entradas;
    ASSERT_TRUE(ArquivoZip::listaEntradas(zip, entradas).ok());
    EXPECT_EQ(entradas, QStringList{QStringLiteral("ORVA1_7.FDB")});
    const QString extraido = QDir(d.pasta.path()).filePath(QStringLiteral("extraido.FDB"));
    ASSERT_TRUE(ArquivoZip::extrai(zip, QStringLiteral("ORVA1_7.FDB"), extraido).ok());
    QFile base(extraido);
    ASSERT_TRUE(base.open(QIODevice::ReadOnly));
    EXPECT_EQ(base.readAll(), d.servicos.conteudoBase);

    // Every token went alone.
    EXPECT_EQ(tokens(d.enviados).mid(0, 9),
              (QStringList{"#VERSAO#", "#SENHA#", "#END_SERVER#1#7", "#DADOS#1#7", "#ENVIAR#", "#RECEBIDO#",
                           "#PROCESSADO#", "#GERANDO#", "#ENVIANDO#"}));
    EXPECT_EQ(d.enviados.size(), 10);
}

// Guards against a notebook without anything to send being asked for a package.
TEST(DialogoServidor, SemDadosVaiDiretoParaAGeracao)
{
    DialogoGravado d;
    d.identifica();
    d.recebe("#GERADADOS#1#7");
    EXPECT_EQ(d.ultimo(), QStringLiteral("#GERANDO#"));
    EXPECT_TRUE(d.servicos.script.isEmpty());
}

// Guards against an old program version being served, and against a refused or unknown user
// getting any data.
TEST(DialogoServidor, VersaoEUsuarioRecusados)
{
    DialogoGravado versao;
    versao.recebe("#KORVEX#1#7");
    versao.recebe("#VERSAO#1.0.2.5");
    EXPECT_EQ(versao.ultimo(), QStringLiteral("#INCORRETO#1.0.2.6"));
    EXPECT_EQ(versao.encerramentos, 1);
    EXPECT_TRUE(versao.dialogo->encerrado());

    DialogoGravado usuario;
    usuario.servicos.aceita = false;
    usuario.recebe("#KORVEX#1#7");
    usuario.recebe("#VERSAO#1.0.2.6");
    usuario.recebe("#USUSENHA#MARCOS#SEN$#errada");
    EXPECT_EQ(usuario.ultimo(), QStringLiteral("#USOINCORRETO#"));
    EXPECT_EQ(usuario.encerramentos, 1);
}

// Guards against a failure of the server's own being reported as a refused user: the notebook
// empties every table on "#USOINCORRETO#".
TEST(DialogoServidor, FalhaDoServidorNaoRecusaOUsuario)
{
    DialogoGravado d;
    d.servicos.falhaAutenticacao = true;
    d.recebe("#KORVEX#1#7");
    d.recebe("#VERSAO#1.0.2.6");
    d.recebe("#USUSENHA#MARCOS#SEN$#x");
    EXPECT_EQ(d.ultimo(), QStringLiteral("#ERRO#"));
    EXPECT_EQ(d.encerramentos, 1);
}

// Guards against an upload that arrives in small pieces being misread, and against bytes
// after the announced length being taken.
TEST(DialogoServidor, PacoteEmPedacosETamanhos)
{
    DialogoGravado d;
    d.identifica();
    d.recebe("#TEMDADOS#");
    const QByteArray quadro = d.pacoteScript({QStringLiteral("UPDATE F530PDF SET SITPDF = 'L'")});
    for (char byte : quadro)
        d.recebe(QByteArray(1, byte));
    EXPECT_EQ(d.ultimo(), QStringLiteral("#RECEBIDO#"));

    DialogoGravado sobra;
    sobra.identifica();
    sobra.recebe("#TEMDADOS#");
    sobra.recebe(sobra.pacoteScript({QStringLiteral("UPDATE F530PDF SET SITPDF = 'L'")}) + "x");
    EXPECT_EQ(sobra.ultimo(), QStringLiteral("#ERRO#"));

    for (const qint64 tamanho : {qint64(0), qint64(-5), qint64(2) << 20}) {
        DialogoGravado ruim;
        ruim.identifica();
        ruim.recebe("#TEMDADOS#");
        ruim.recebe(EnquadramentoBinario::cabecalho(tamanho));
        EXPECT_EQ(ruim.ultimo(), QStringLiteral("#ERRO#")) << tamanho;
        EXPECT_EQ(ruim.encerramentos, 1);
    }
}

// Guards against executing a script from an archive that is not the notebook's: another entry
// name, or bytes that are not a ZIP archive.
TEST(DialogoServidor, PacoteIlegivelOuDeOutroUsuario)
{
    DialogoGravado outro;
    outro.identifica();
    outro.recebe("#TEMDADOS#");
    outro.recebe(outro.pacoteScript({QStringLiteral("UPDATE F530PDF SET SITPDF = 'L'")}, QStringLiteral("ORVA1_8.SCP")));
    EXPECT_EQ(outro.ultimo(), QStringLiteral("#ERRO#"));

    DialogoGravado lixo;
    lixo.identifica();
    lixo.recebe("#TEMDADOS#");
    lixo.recebe(EnquadramentoBinario::enquadra(QByteArray(300, 'z')));
    EXPECT_EQ(lixo.ultimo(), QStringLiteral("#ERRO#"));
    EXPECT_TRUE(lixo.servicos.script.isEmpty());
}

// Guards against the notebook being told its data were processed when the script failed, and
// against a package being built after a failed generation.
TEST(DialogoServidor, FalhasDoScriptEDaGeracao)
{
    DialogoGravado script;
    script.servicos.falhaScript = true;
    script.identifica();
    script.recebe("#TEMDADOS#");
    script.recebe(script.pacoteScript({QStringLiteral("UPDATE F530PDF SET SITPDF = 'L'")}));
    script.recebe("#PROCESSA#1#7");
    EXPECT_EQ(script.ultimo(), QStringLiteral("#ERRO#"));
    EXPECT_FALSE(tokens(script.enviados).contains(QStringLiteral("#PROCESSADO#")));

    DialogoGravado base;
    base.servicos.falhaBase = true;
    base.identifica();
    base.recebe("#GERADADOS#1#7");
    base.executaPausas();
    EXPECT_EQ(base.ultimo(), QStringLiteral("#ERRO#"));
    EXPECT_FALSE(tokens(base.enviados).contains(QStringLiteral("#ENVIANDO#")));
    EXPECT_EQ(base.encerramentos, 1);
}

// Guards against a reply naming another user's codes being served, and against replies out
// of place being taken as the expected one.
TEST(DialogoServidor, RespostasForaDeLugar)
{
    DialogoGravado codigos;
    codigos.identifica();
    codigos.recebe("#GERADADOS#1#8");
    EXPECT_EQ(codigos.ultimo(), QStringLiteral("#ERRO#"));

    DialogoGravado ordem;
    ordem.recebe("#KORVEX#1#7");
    ordem.recebe("#USUSENHA#MARCOS#SEN$#x");
    EXPECT_EQ(ordem.ultimo(), QStringLiteral("#ERRO#"));
    EXPECT_TRUE(ordem.servicos.nome.isEmpty());
}

// Guards against a reply cut in two by the network being refused.
TEST(DialogoServidor, RespostaPartidaEmDuasLeituras)
{
    DialogoGravado d;
    d.recebe("#KOR");
    EXPECT_TRUE(d.enviados.isEmpty());
    d.recebe("VEX#1#7");
    EXPECT_EQ(d.ultimo(), QStringLiteral("#VERSAO#"));
}

// Guards against the server waiting forever for a notebook that went silent, and against a
// pause of a closed dialogue still sending.
TEST(DialogoServidor, PrazoEDesconexao)
{
    DialogoGravado d(std::chrono::milliseconds(50));
    d.recebe("#KORVEX#1#7");
    const QDeadlineTimer limite(5000);
    while (d.encerramentos == 0 && !limite.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(d.encerramentos, 1);
    EXPECT_EQ(d.ultimo(), QStringLiteral("#ERRO#"));

    DialogoGravado caiu;
    caiu.identifica();
    caiu.recebe("#GERADADOS#1#7");
    const qsizetype enviados = caiu.enviados.size();
    caiu.dialogo->desconectado();
    caiu.executaPausas();
    EXPECT_EQ(caiu.enviados.size(), enviados);
    EXPECT_TRUE(caiu.dialogo->encerrado());
}
