#pragma once

class QLineEdit;

// Makes an edit turn what is typed into upper case as it is typed, keeping the cursor where it
// was (search fields of codes and descriptions).
namespace CaixaAlta {
void aplica(QLineEdit *edit);
}
