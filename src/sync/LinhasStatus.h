#pragma once

#include <QString>

// The status lines of a synchronisation, as the user reads them in the sync window's memo.
// Each one is appended to logAtualizacao followed by an empty line.
namespace LinhasStatus {

// Exchange with the server.
inline const QString validandoUsuario = QStringLiteral("@@@@ VALIDANDO USUÁRIO @@@@");
inline const QString usuarioOk = QStringLiteral("@@@@ USUÁRIO OK ! @@@@");
inline const QString semInformacoes = QStringLiteral("@@@@ NÃO HÁ INFORMAÇÕES A SEREM ENVIADAS @@@@");
inline const QString processando = QStringLiteral("@@@@ PROCESSANDO DADOS NO SERVIDOR! @@@@");
inline const QString gerando = QStringLiteral("@@@@ GERANDO INFORMAÇÕES NO SERVIDOR! @@@@");
inline const QString recebendo = QStringLiteral("@@@@ RECEBENDO INFORMAÇÕES DO SERVIDOR! @@@@");
inline const QString extraindo = QStringLiteral("@@@@ EXTRAINDO ARQUIVO DE DADOS! @@@@");
inline const QString erroRecebimento = QStringLiteral("@@@@ ERRO AO RECEBER INFORMAÇÕES! @@@@");
inline const QString usuarioInvalido = QStringLiteral("@@@@ USUÁRIO OU SENHA INVÁLIDO! @@@@");
inline const QString erroConexao = QStringLiteral("@@@@ ERRO NA CONEXÃO COM O SERVIDOR! @@@@");

inline QString versaoIncorreta(const QString &versaoEsperada)
{
    return QStringLiteral("@@@@ VERSÃO DO KORVEX INCORRETO! VERSÃO ESPERADA : ") + versaoEsperada
           + QStringLiteral(" @@@@");
}

// Replacement of the local database.
inline const QString erroExtraindo = QStringLiteral("@@@@ ERRO EXTRAINDO ARQUIVO DE DADOS! @@@@");
inline const QString erroAbrindo = QStringLiteral("@@@@ ERRO ABRINDO ARQUIVO DE DADOS! @@@@");
inline const QString sucesso = QStringLiteral("@@@@ ATUALIZAÇÃO FINALIZADA COM SUCESSO! @@@@");

// Sync window.
inline const QString iniciando = QStringLiteral("@@@@ INICIANDO ATUALIZAÇÃO @@@@");
inline const QString erroConfiguracao =
    QStringLiteral("@@@@ ERRO AO CONECTAR COM SERVIDOR APLICAÇÃO. VERIFIQUE CONFIGURAÇÃO @@@@");
inline const QString erroComunicacao = QStringLiteral("@@@@ ERRO NA COMUNICAÇÃO. SISTEMA NÃO ATUALIZADO! @@@@");

} // namespace LinhasStatus
