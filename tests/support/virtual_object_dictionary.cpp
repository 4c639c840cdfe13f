// Storage and access checks of a virtual node's object dictionary.
#include "virtual_object_dictionary.h"

#include "sdo_abort_codes.h"

namespace veqtest {

void VirtualObjectDictionary::set(uint16_t index, uint8_t subIndex, VirtualEntry entry)
{
    if (!entry.fixedSize && entry.maxSize == 0)
        entry.maxSize = DefaultMaxSize;
    entries_[{index, subIndex}] = std::move(entry);
}

void VirtualObjectDictionary::remove(uint16_t index, uint8_t subIndex)
{
    entries_.erase({index, subIndex});
}

bool VirtualObjectDictionary::contains(uint16_t index, uint8_t subIndex) const
{
    return entries_.count({index, subIndex}) != 0;
}

std::optional<std::vector<uint8_t>> VirtualObjectDictionary::value(uint16_t index,
                                                                   uint8_t subIndex) const
{
    auto it = entries_.find({index, subIndex});
    if (it == entries_.end())
        return std::nullopt;
    return it->second.value;
}

uint32_t VirtualObjectDictionary::find(uint16_t index, uint8_t subIndex,
                                       const VirtualEntry** entry) const
{
    auto it = entries_.find({index, subIndex});
    if (it != entries_.end()) {
        *entry = &it->second;
        return 0;
    }
    // The index exists when any of its subindexes does.
    auto first = entries_.lower_bound({index, 0});
    if (first != entries_.end() && first->first.first == index)
        return abort::NoSuchSubindex;
    return abort::NoSuchObject;
}

uint32_t VirtualObjectDictionary::read(uint16_t index, uint8_t subIndex,
                                       std::vector<uint8_t>& out) const
{
    const VirtualEntry* entry = nullptr;
    if (uint32_t code = find(index, subIndex, &entry))
        return code;
    if (entry->access == Access::WriteOnly)
        return abort::WriteOnly;
    out = entry->value;
    return 0;
}

uint32_t VirtualObjectDictionary::checkWrite(uint16_t index, uint8_t subIndex,
                                             std::optional<size_t> size) const
{
    const VirtualEntry* entry = nullptr;
    if (uint32_t code = find(index, subIndex, &entry))
        return code;
    if (entry->access == Access::ReadOnly)
        return abort::ReadOnly;
    if (size) {
        if (entry->fixedSize && *size != entry->value.size())
            return abort::WrongLength;
        if (!entry->fixedSize && *size > entry->maxSize)
            return abort::WrongLength;
    }
    return 0;
}

uint32_t VirtualObjectDictionary::write(uint16_t index, uint8_t subIndex,
                                        const std::vector<uint8_t>& bytes)
{
    if (uint32_t code = checkWrite(index, subIndex, bytes.size()))
        return code;
    entries_[{index, subIndex}].value = bytes;
    return 0;
}

std::optional<size_t> VirtualObjectDictionary::fixedSize(uint16_t index, uint8_t subIndex) const
{
    auto it = entries_.find({index, subIndex});
    if (it == entries_.end() || !it->second.fixedSize)
        return std::nullopt;
    return it->second.value.size();
}

size_t VirtualObjectDictionary::sizeLimit(uint16_t index, uint8_t subIndex) const
{
    auto it = entries_.find({index, subIndex});
    if (it == entries_.end())
        return 0;
    return it->second.fixedSize ? it->second.value.size() : it->second.maxSize;
}

} // namespace veqtest
