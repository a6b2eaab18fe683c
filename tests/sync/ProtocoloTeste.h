#pragma once

#include "AcoesSincronizacao.h"
#include "ProtocoloSincronizacao.h"
#include "SessaoSincronizacao.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <vector>

// The data module's side of a synchronisation, recorded instead of done.
class AcoesFalsas : public AcoesSincronizacao
{
public:
    QStringList chamadas;
    QString empresa, usuario;               // last codes received
    QString empresaNoPacote, usuarioNoPacote; // codes the session held when the package was built
    bool temDados = false;
    QStringList script;
    bool esvaziaFunciona = true;
    bool marcaFunciona = true;
    ResultadoSubstituicao resultado = ResultadoSubstituicao::Sucesso;
    QString arquivoSubstituido, pacoteSubstituido;
    QByteArray conteudoSubstituido;

    void codigosAlterados(const QString &codigoEmpresa, const QString &codigoUsuario) override
    {
        chamadas << QStringLiteral("codigos %1 %2").arg(codigoEmpresa, codigoUsuario);
        empresa = codigoEmpresa;
        usuario = codigoUsuario;
    }
    bool geraPacoteEnvio() override
    {
        chamadas << QStringLiteral("geraPacoteEnvio");
        empresaNoPacote = empresa;
        usuarioNoPacote = usuario;
        return temDados;
    }
    QStringList scriptEnvio() const override { return script; }
    void esvaziaScriptEnvio() override
    {
        chamadas << QStringLiteral("esvaziaScriptEnvio");
        script.clear();
    }
    bool esvaziaBaseLocal() override
    {
        chamadas << QStringLiteral("esvaziaBaseLocal");
        return esvaziaFunciona;
    }
    bool marcaEnviados() override
    {
        chamadas << QStringLiteral("marcaEnviados");
        return marcaFunciona;
    }
    ResultadoSubstituicao substituiBase(const QString &arquivoRecebido, const QString &nomePacote) override
    {
        chamadas << QStringLiteral("substituiBase");
        arquivoSubstituido = arquivoRecebido;
        pacoteSubstituido = nomePacote;
        QFile arquivo(arquivoRecebido);
        if (arquivo.open(QIODevice::ReadOnly))
            conteudoSubstituido = arquivo.readAll();
        return resultado;
    }
};

// A protocol wired to recorders: what it sends, closes, logs and reports; its one-second
// delays wait in a list until the test runs them.
class ProtocoloGravado
{
public:
    AcoesFalsas acoes;
    ProtocoloSincronizacao protocolo{acoes};
    QTemporaryDir pasta;

    QList<QByteArray> enviados;
    QStringList linhas;
    int fechamentos = 0;
    QList<bool> finais;
    QStringList versoes;
    QList<QPair<qint64, qint64>> progresso;
    std::vector<std::pair<std::chrono::milliseconds, std::function<void()>>> pendentes;

    ProtocoloGravado()
    {
        protocolo.definePastaPrograma(pasta.path());
        protocolo.defineAgendador([this](std::chrono::milliseconds espera, std::function<void()> acao) {
            pendentes.emplace_back(espera, std::move(acao));
        });
        QObject::connect(&protocolo, &ProtocoloSincronizacao::envia, [this](const QByteArray &b) { enviados << b; });
        QObject::connect(&protocolo, &ProtocoloSincronizacao::fechaConexao, [this] { ++fechamentos; });
        QObject::connect(&protocolo, &ProtocoloSincronizacao::linhaStatus, [this](const QString &l) { linhas << l; });
        QObject::connect(&protocolo, &ProtocoloSincronizacao::finalizado, [this](bool s) { finais << s; });
        QObject::connect(&protocolo, &ProtocoloSincronizacao::versaoIncorreta,
                         [this](const QString &v) { versoes << v; });
        QObject::connect(&protocolo, &ProtocoloSincronizacao::progresso,
                         [this](qint64 r, qint64 t) { progresso << qMakePair(r, t); });
    }

    static SessaoSincronizacao sessaoConfigurada()
    {
        SessaoSincronizacao s;
        s.CODEMP = QStringLiteral("1");
        s.CODUSU = QStringLiteral("25");
        s.HSTSRV = QStringLiteral("servidor.local");
        s.usuarioAtualizacao = QStringLiteral("joão");
        s.senhaAtualizacao = QStringLiteral("x9#k");
        s.versao = QStringLiteral("1.0.2.6");
        return s;
    }

    void executaPendentes()
    {
        auto agora = std::move(pendentes);
        pendentes.clear();
        for (auto &p : agora)
            p.second();
    }

    // Started, connected and greeted: the dialogue is open.
    void abreDialogo(const SessaoSincronizacao &s = sessaoConfigurada())
    {
        protocolo.inicia(s);
        protocolo.conectado();
        executaPendentes();
        enviados.clear();
    }

    // From the open dialogue to "#GERANDO#" in the order the server speaks, the package (when
    // acoes.temDados) sent and confirmed; the records start empty after it.
    void ateGerando()
    {
        recebe("#DADOS#1#25");
        if (acoes.temDados) {
            recebe("#ENVIAR#");
            executaPendentes();
            recebe("#RECEBIDO#");
            recebe("#PROCESSADO#");
        }
        recebe("#GERANDO#");
        enviados.clear();
        linhas.clear();
        acoes.chamadas.clear();
    }

    void recebe(const char *texto) { protocolo.receber(QByteArray(texto)); }
    QString ultimoEnviado() const { return enviados.isEmpty() ? QString() : QString::fromLatin1(enviados.last()); }
};
