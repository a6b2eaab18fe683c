#include "ClientDataSetPlus.h"
// Implementation in progress.
