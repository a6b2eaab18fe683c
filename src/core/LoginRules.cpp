#include "LoginRules.h"

#include "D500DAT.h"

LoginRules::LoginRules(const QString &nomeUsuario, const QString &senhaEmbaralhada)
    : m_nome(nomeUsuario)
    , m_senhaEmbaralhada(senhaEmbaralhada)
{
}

QString LoginRules::nomeInicial() const
{
    return m_nome.toUpper();
}

LoginRules::Resultado LoginRules::confirma(const QString &nomeDigitado, const QString &senhaDigitada)
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

QString LoginRules::mensagemInvalido()
{
    return QStringLiteral("USUÁRIO OU SENHA INVÁLIDO. VERIFIQUE!");
}

QString LoginRules::mensagemEsgotadas()
{
    return QStringLiteral("SUAS TENTATIVAS ACABARAM. SISTEMA SERÁ FINALIZADO.");
}
