#pragma once

#include <QString>

class FirebirdConnection;

// The password change of the logged user: the checks on the new password and its
// confirmation, and the statement that stores it scrambled with the expiry cleared.
class TrocaSenha
{
public:
    enum class Resultado {
        Aceita,
        ConfirmacaoDiferente, // the two edits differ
        IgualAtual,           // the new password is the current one
        NaoPreservada         // scrambling would lose characters: it could never be typed again
    };

    // senhaAtualEmbaralhada: the session's SENUSU.
    static Resultado valida(const QString &nova, const QString &confirmacao,
                            const QString &senhaAtualEmbaralhada);
    // The refusal text of a result other than Aceita.
    static QString mensagem(Resultado resultado);

    // "UPDATE F599USU SET SENUSU = '<scrambled, quotes doubled>', EXPSEN = 'N'" (the table holds
    // the one user, so no condition).
    static QString comandoAtualizacao(const QString &nova);
    // Runs the update and then "COMMIT"; throws DatabaseError and writes nothing on failure.
    static void grava(FirebirdConnection &connection, const QString &nova);
};
