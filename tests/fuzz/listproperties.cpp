#include "listproperties.h"

#include "codecs/listfile.h"
#include "participantlistmodel.h"

#include <nlohmann/json.hpp>
#include <set>

namespace {

// The JSON library's own verdict on a text, through a reader that only counts: whether
// it is JSON, whether an array, and how many of its elements are objects.
struct Verdict : nlohmann::json_sax<nlohmann::json>
{
    bool array = false;
    bool started = false;
    std::size_t depth = 0;
    std::size_t objects = 0;
    // A record that holds a key twice is no list to load: one value would be lost.
    std::set<std::string> recordKeys;
    bool repeatedKey = false;

    bool value()
    {
        started = true;
        return true;
    }
    bool open(bool isArray)
    {
        if (!started)
            array = isArray;
        if (depth == 1 && !isArray) {
            ++objects;
            recordKeys.clear();
        }
        ++depth;
        return value();
    }
    bool close()
    {
        --depth;
        return true;
    }
    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t &) override { return value(); }
    bool string(string_t &) override { return value(); }
    bool binary(binary_t &) override { return value(); }
    bool start_object(std::size_t) override { return open(false); }
    bool key(string_t &name) override
    {
        if (depth == 2 && !recordKeys.insert(name).second)
            repeatedKey = true;
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(true); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override
    {
        return false;
    }
};

// Whether the text is a JSON array, and of how many objects.
bool isList(const char *begin, const char *end, std::size_t &objects)
{
    Verdict verdict;
    const bool json = nlohmann::json::sax_parse(begin, end, &verdict);
    objects = verdict.objects;
    return json && verdict.array && !verdict.repeatedKey;
}

std::string utf8(const QString &text)
{
    return text.toStdString();
}

} // namespace

std::string checkListProperties(const char *data, std::size_t size)
{
    // As a file is read for the editing page.
    QByteArray bytes(data, int(size));
    ListFile::trim(bytes);
    const char *const begin = bytes.constData();
    const char *const end = begin + bytes.size();
    std::size_t objects = 0;
    const bool list = isList(begin, end, objects);

    ParticipantListModel model;
    const QString earlier = QStringLiteral("[{\"name\":\"Иванова\",\"isGto\":true,\"step\":8.1}]");
    if (!model.load(earlier))
        return "the earlier list did not load";
    const bool loaded = model.loadUtf8(begin, end);
    if (loaded != list)
        return loaded ? "a text that is no JSON array loaded"
                      : "a JSON array did not load: " + utf8(model.loadError());
    if (!loaded) {
        if (model.rowCount() != 1 || model.toJson() != earlier)
            return "a failed load changed the rows";
        if (model.loadError().isEmpty() || model.loadError().contains(QLatin1Char('\n')))
            return "a failed load gave no one-line reason";
        return std::string();
    }

    if (std::size_t(model.rowCount()) != objects)
        return "rows: " + std::to_string(model.rowCount()) +
               ", objects in the array: " + std::to_string(objects);
    if (!model.loadError().isEmpty())
        return "a load that worked left a reason";
    const QList<int> roles = model.roleNames().keys();
    for (int row = 0; row < model.rowCount(); ++row) {
        for (const int role : roles) {
            const QVariant value = model.data(model.index(row), role);
            if (value.isValid() && value.userType() != QMetaType::QString &&
                value.userType() != QMetaType::Bool && value.userType() != QMetaType::Nullptr)
                return "a role gave a value of type " + std::string(value.typeName());
        }
    }

    const QByteArray written = model.toJson().toUtf8();
    std::size_t writtenObjects = 0;
    if (!isList(written.constData(), written.constData() + written.size(), writtenObjects))
        return "the written text is no JSON array: " + written.toStdString();
    if (writtenObjects != objects)
        return "the written text has another number of objects: " + written.toStdString();
    // Compared as text: the JSON library's equality takes 18446744073709551615 for -1.
    if (!model.loadUtf8(written.constData(), written.constData() + written.size()))
        return "the written text did not load again: " + utf8(model.loadError());
    const QByteArray again = model.toJson().toUtf8();
    if (again != written)
        return "loaded again it writes " + again.toStdString() + " instead of " +
               written.toStdString();
    return std::string();
}
