// Finding an element in a list of unique pointers that is mostly edited at
// its ends: filling by appending, clearing last first, removing first first.
#pragma once

#include <QList>

/// The index of `value` in `list`, -1 when it is absent. The first and the
/// last element are found at once, so a list grown or emptied at either end
/// costs linear time in all.
template <class T>
int indexNearEnds(const QList<T> &list, const T &value)
{
    if (!list.isEmpty() && list.last() == value)
        return list.size() - 1;
    return list.indexOf(value);
}
