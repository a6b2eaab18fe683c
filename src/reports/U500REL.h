#pragma once

#include <QObject>

// The data module of the reports. It is created third at start-up and lives for the whole
// run; the report engine is added to it as the reports are built.
class D500REL : public QObject
{
    Q_OBJECT
public:
    explicit D500REL(QObject *parent = nullptr);
    ~D500REL() override;

    // The single instance (set by the constructor).
    static D500REL *instance();

private:
    static D500REL *s_instance;
};
