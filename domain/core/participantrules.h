#pragma once

#include "participantrecord.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// The rules that turn what the operator types into record values, and the builders of
// the two kinds of record. The pages reach them as the singleton ParticipantRules; the
// list model and the importers call them directly.
class ParticipantRules : public QObject
{
    Q_OBJECT
    // Ages below this show the birth date and the age with a red frame.
    Q_PROPERTY(int minimumAge READ minimumAge CONSTANT)

public:
    static constexpr int MinimumAge = 10;

    // What the creation page's GTO form holds, as typed.
    struct GtoEntry
    {
        QString birthDate;
        QString organization;
        QString gtoUuid;
        QString name;
        QString sex;
        QString pectoralNumber;
        QString athleticRank;
    };

    explicit ParticipantRules(QObject *parent = nullptr) : QObject(parent) {}
    int minimumAge() const { return MinimumAge; }
    // Whether a birth date giving this age may be entered.
    Q_INVOKABLE static bool isAgeAccepted(int age) { return age >= MinimumAge; }
    // "1 запись", "3 записи", "5 записей", "21 запись".
    static QString recordCountText(int count);

    // Ends trimmed as the script engine trims, then every run of spaces made one space;
    // tabs inside stay.
    Q_INVOKABLE static QString trimName(const QString &value);
    // Whole years from a birth date "d.M.yyyy" (day and month of one or two digits) to
    // `today` (the local date when invalid). A text that is not an existing date gives 0;
    // a date in the future gives 0 or less.
    Q_INVOKABLE static int ageFromDate(const QString &text, const QDate &today = QDate());
    // The date of a birth date text "d.M.yyyy"; invalid when it names no existing day.
    static QDate birthDate(const QString &text);
    // The GTO step of an age: 3, 4, 5, 6, 7, 8.1, 8.2, 9.1 or 9.2; 3 when no band fits.
    Q_INVOKABLE static double stepFromAge(double age);
    // A step as the creation page stores it, with one decimal: "6.0", "8.1".
    Q_INVOKABLE static QString stepText(double step);
    // A step as plain number text, as the form shows it and a birth-date edit stores it:
    // "6", "8.1".
    Q_INVOKABLE static QString plainStepText(double step);
    // What the editing table shows for a stored step: below 8 a whole number (6.0 shows
    // 6, an empty text 0), anything else as stored.
    Q_INVOKABLE static QString shownStep(const QVariant &value);
    // A real identification number: eleven digits.
    Q_INVOKABLE static bool isCompleteGtoUuid(const QString &text);

    // "М" or "Ж" for the ways lists write a sex (м, муж., мужской, M, male; likewise
    // female); an empty string for anything else.
    Q_INVOKABLE static QString sexLetter(const QString &text);
    // The eleven digits of an identification number written with dashes or spaces
    // ("12-34-5678901"); an empty string when the text holds another count of digits or
    // anything but digits, dashes and spaces.
    Q_INVOKABLE static QString gtoUuidDigits(const QString &text);
    // A birth date written d.M.yyyy, d/M/yyyy or yyyy-M-d, optionally followed by a time
    // of day as spreadsheets write it; invalid for a date that does not exist.
    static QDate dateFromText(const QString &text);
    // The day a spreadsheet's day number stands for, in its 1900 or 1904 date system.
    static QDate dateFromSerial(double serial, bool from1904 = false);
    // A date as records hold it: dd.MM.yyyy.
    static QString dateText(const QDate &date);
    // The athletic ranks offered while `typed` is entered: those that begin with it, case and
    // "ё"/"е" aside, in rank order; none for an empty text or for a rank typed out that no
    // longer rank begins with.
    Q_INVOKABLE static QStringList rankSuggestions(const QString &typed);

    // Whether a form holding the record keys' texts may be added.
    Q_INVOKABLE static bool gtoEntryComplete(const QVariantMap &form);
    Q_INVOKABLE static bool trainingEntryComplete(const QVariantMap &form);

    // Records with the key orders of the list file; the form's texts go in as typed.
    static ParticipantRecord gtoRecord(const GtoEntry &entry, const QDate &today = QDate());
    static ParticipantRecord trainingRecord(const QString &group, const QString &name,
                                            const QString &organization);
    // The same for a form map with the record keys, as a value for a list model's append().
    Q_INVOKABLE static QVariant gtoRecord(const QVariantMap &form);
    Q_INVOKABLE static QVariant trainingRecord(const QVariantMap &form);

    // The step of the editing page after a birth-date edit.
    static QString stepTextForBirthDate(const QString &birthDate, const QDate &today = QDate());
};
