#pragma once

namespace quorvane {

// Which attributes two files must share to be duplicates: the value of the GroupOrder key and
// the tag of the actions Order0 .. Order4.
enum TGroupOrder : int {
    goNameSize = 0,
    goName = 1,
    goSize = 2,
    goSizeName = 3,
    goNameSizeDate = 4,
};

} // namespace quorvane
