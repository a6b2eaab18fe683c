#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The words the demo data is made of: Brazilian names, places, product lines and the texts of
// remarks and messages.
namespace DemoVocabulary {

struct Group
{
    int code;
    int costCentre;
    QString name;
};

struct Family
{
    int code;
    int costCentre;
    int group;
    QString name;
    bool pickUpDiscount; // RETPDV
    bool substitution;   // carries substitution tax
    int scale;           // usual commission scale of its products
    QString unit;
    QStringList bases;
    QStringList sizes;
    double lowPrice;  // price of the smallest size
    double highPrice; // price of the largest size
};

struct City
{
    QString name;
    QString state;
    QString areaCode;
    int postalPrefix; // first two digits of the CEP
    int weight;       // how many customers live there, relatively
};

QList<Group> groups();
QList<Family> families();
QStringList brands(int costCentre);
QList<City> cities();
QStringList firstNames();
QStringList surnames();
QStringList streets();
QStringList districts();
QStringList tradeWords();
QStringList chainNames();
QStringList warningRemarks();
QStringList orderRemarks();
QStringList cancelReasons();

struct MessageText
{
    QString title;
    QString text;
};
QList<MessageText> receivedMessages();
QList<MessageText> writtenMessages();

} // namespace DemoVocabulary
