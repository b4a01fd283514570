#include "registry/ListKinds.h"

#include "m3u/M3uKind.h"
#include "md5list/Md5Kind.h"
#include "sfv/SfvKind.h"
#include "sha256/Sha256Kind.h"

namespace velmar {

std::span<const ListKind* const> ListKinds() {
    static const ListKind* const kinds[] = {&SfvKind, &Md5Kind, &M3uKind, &Sha256Kind};
    return kinds;
}

KindModes ModesOf(const ListKind& kind) {
    const auto kinds = ListKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i)
        if (kinds[i] == &kind) return ModesOfKind(i);
    return {ModeNone, ModeNone};
}

const ListKind& CommandLineKind() { return SfvKind; }

}  // namespace velmar
