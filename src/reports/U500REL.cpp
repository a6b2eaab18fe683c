#include "U500REL.h"

D500REL *D500REL::s_instance = nullptr;

D500REL::D500REL(QObject *parent)
    : QObject(parent)
{
    s_instance = this;
}

D500REL::~D500REL()
{
    if (s_instance == this)
        s_instance = nullptr;
}

D500REL *D500REL::instance()
{
    return s_instance;
}
