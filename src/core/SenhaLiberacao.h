#pragma once

// The two constants of the order release code. The order window (which compares a typed code)
// and the supervisor console (which shows it) both obtain the code from
// D500DAT::geraSenhaLiberacao, so a change here changes both sides together.
inline constexpr int kMultiplicadorLiberacao = 7;           // one digit
inline constexpr const char *kSenhaLiberacaoPadrao = "482913"; // six digits, when the code cannot be computed
