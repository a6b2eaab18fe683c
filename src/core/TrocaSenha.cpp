#include "TrocaSenha.h"

#include "D500DAT.h"
#include "FirebirdConnection.h"
#include "SqlText.h"

TrocaSenha::Resultado TrocaSenha::valida(const QString &nova, const QString &confirmacao,
                                                 const QString &senhaAtualEmbaralhada)
{
    if (nova != confirmacao)
        return Resultado::ConfirmacaoDiferente;
    if (D500DAT::embaralhaSenha(senhaAtualEmbaralhada) == nova)
        return Resultado::IgualAtual;
    // The login compares the typed text with the stored password unscrambled: a password
    // that does not survive scrambling would lock the user out.
    if (!D500DAT::senhaPreservada(nova))
        return Resultado::NaoPreservada;
    return Resultado::Aceita;
}

QString TrocaSenha::mensagem(Resultado resultado)
{
    switch (resultado) {
    case Resultado::ConfirmacaoDiferente:
        return QStringLiteral("Senha não Confere. Digite novamente!");
    case Resultado::IgualAtual:
        return QStringLiteral("Senha não pode ser a mesma senha ATUAL. Digite novamente!");
    case Resultado::NaoPreservada:
        return QStringLiteral("Senha contém espaços nas pontas ou caracteres não permitidos. "
                              "Digite novamente!");
    case Resultado::Aceita:
        break;
    }
    return {};
}

QString TrocaSenha::comandoAtualizacao(const QString &nova)
{
    return QStringLiteral("UPDATE F599USU SET SENUSU = ") + SqlText::quoted(D500DAT::embaralhaSenha(nova))
           + QStringLiteral(", EXPSEN = 'N'");
}

void TrocaSenha::grava(FirebirdConnection &connection, const QString &nova)
{
    connection.execute(comandoAtualizacao(nova));
    connection.execute(QStringLiteral("COMMIT"));
}
