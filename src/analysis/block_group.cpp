// The members of a block with middle words, and the search for the next one.
#include "analysis/block_group.h"

#include <algorithm>

#include "analysis/keywords.h"

namespace tintmark {

bool MiddleFamily(uint8_t kind, uint8_t& opener, uint8_t& closer) {
    switch (kind) {
        case kIf: case kEndIf: case kElseIf: case kElse:
            opener = kIf;
            closer = kEndIf;
            return true;
        case kTry: case kEndTry: case kExcept:
            opener = kTry;
            closer = kEndTry;
            return true;
        default:
            return false;
    }
}

bool IsMethodBoundary(uint8_t kind) {
    return kind == kProcedure || kind == kEndProcedure || kind == kFunction || kind == kEndFunction ||
           kind == kForward;
}

namespace {

bool IsMiddleOf(uint8_t kind, uint8_t opener) {
    return opener == kIf ? (kind == kElseIf || kind == kElse) : kind == kExcept;
}

}  // namespace

PartnerSearch FindNextMember(const TKeyWordsMap& map, int32_t start, MemberSearch& s, int32_t& found) {
    for (int32_t i = start + 1; i < map.Count(); ++i) {
        const uint8_t k = map[i].Kind;
        if (IsMethodBoundary(k)) {
            if (s.FromMiddle) return PartnerSearch::Boundary;
            s.PastBoundary = true;
        } else if (k == s.Opener) {
            ++s.Depth;
        } else if (k == s.Closer) {
            if (s.Depth == 0) {
                found = i;
                return PartnerSearch::Found;
            }
            --s.Depth;
        } else if (s.Depth == 0 && !s.PastBoundary && IsMiddleOf(k, s.Opener)) {
            found = i;
            return PartnerSearch::Found;
        }
    }
    return PartnerSearch::NotFound;
}

std::vector<int32_t> BlockMembers(const TKeyWordsMap& map, int32_t index) {
    std::vector<int32_t> members;
    const uint8_t kind = map[index].Kind;
    uint8_t opener = 0, closer = 0;
    if (!MiddleFamily(kind, opener, closer)) return members;
    const bool middle = IsMiddleKind(kind);

    // Backward from a closer or a middle word: middle words at depth 0 up to the opener. A
    // closer's opener is searched on past a method boundary as the pairing does, but takes no
    // middle words from beyond it.
    if (kind != opener) {
        int32_t depth = 0;
        bool pastBoundary = false;
        for (int32_t i = index - 1; i >= 0; --i) {
            const uint8_t k = map[i].Kind;
            if (IsMethodBoundary(k)) {
                if (middle) break;
                pastBoundary = true;
            } else if (k == closer) {
                ++depth;
            } else if (k == opener) {
                if (depth == 0) {
                    members.push_back(i);
                    break;
                }
                --depth;
            } else if (depth == 0 && !pastBoundary && IsMiddleOf(k, opener)) {
                members.push_back(i);
            }
        }
        std::reverse(members.begin(), members.end());
    }
    members.push_back(index);
    // Forward from an opener or a middle word: the next members up to the closer.
    if (kind != closer) {
        MemberSearch s{opener, closer, middle};
        int32_t at = index, found = -1;
        while (FindNextMember(map, at, s, found) == PartnerSearch::Found) {
            members.push_back(found);
            if (map[found].Kind == closer) break;
            at = found;
        }
    }
    return members;
}

}  // namespace tintmark
