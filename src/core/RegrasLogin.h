#pragma once

#include <QString>

// The login check of the one user of the notebook: the name in any letter case, the password
// exactly as stored (scrambled in F599USU), and the attempt counter whose fourth failure ends
// the program. The login window only reads the edits and shows the outcome.
class RegrasLogin
{
public:
    enum class Resultado { Aceito, Recusado };

    // nomeUsuario: NOMUSU of the first user row; senhaEmbaralhada: its SENUSU.
    RegrasLogin(const QString &nomeUsuario, const QString &senhaEmbaralhada);

    // The name the login window starts with (upper case).
    QString nomeInicial() const;

    // One press of OK: compares name and password; a failure counts one attempt more.
    Resultado confirma(const QString &nomeDigitado, const QString &senhaDigitada);

    // Starts at 1; each failure adds one.
    int tentativas() const { return m_tentativas; }
    // True after the fourth failure: the program must end.
    bool esgotadas() const { return m_tentativas >= kLimite; }

    static QString mensagemInvalido();
    static QString mensagemEsgotadas();

private:
    static constexpr int kLimite = 5;

    QString m_nome;
    QString m_senhaEmbaralhada;
    int m_tentativas = 1;
};
