#include "RegrasLogin.h"

#include "D500DAT.h"

RegrasLogin::RegrasLogin(const QString &nomeUsuario, const QString &senhaEmbaralhada)
    : m_nome(nomeUsuario)
    , m_senhaEmbaralhada(senhaEmbaralhada)
{
}

QString RegrasLogin::nomeInicial() const
{
    return m_nome.toUpper();
}

RegrasLogin::Resultado RegrasLogin::confirma(const QString &nomeDigitado, const QString &senhaDigitada)
{
    // The name compares in any case, accented letters included (a name typed "joão" is the
    // user "JOÃO"); the password compares exactly.
    const bool aceito = m_nome.toUpper() == nomeDigitado.toUpper()
                        && D500DAT::embaralhaSenha(m_senhaEmbaralhada) == senhaDigitada;
    if (aceito)
        return Resultado::Aceito;
    ++m_tentativas;
    return Resultado::Recusado;
}

QString RegrasLogin::mensagemInvalido()
{
    return QStringLiteral("USUÁRIO OU SENHA INVÁLIDO. VERIFIQUE!");
}

QString RegrasLogin::mensagemEsgotadas()
{
    return QStringLiteral("SUAS TENTATIVAS ACABARAM. SISTEMA SERÁ FINALIZADO.");
}
