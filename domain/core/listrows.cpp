#include "listrows.h"

int KeyTable::intern(const std::string &name)
{
    const auto found = indexOf.find(name);
    if (found != indexOf.end())
        return found->second;
    const int index = int(names.size());
    names.push_back(name);
    indexOf.emplace(name, index);
    return index;
}

int KeyTable::find(const std::string &name) const
{
    const auto found = indexOf.find(name);
    return found == indexOf.end() ? -1 : found->second;
}

void KeyTable::truncate(int size)
{
    for (int index = size; index < int(names.size()); ++index)
        indexOf.erase(names[std::size_t(index)]);
    names.resize(std::size_t(size));
}
