#include "D500DAT.h"
// Implementation in progress.
