#include "records/RecordChannel.h"

SampleKind SampleKindOf(int dataType, int words) {
    if (words == 2) {
        switch (dataType) {
        case 3:
            return SampleKind::UInt32;
        case 4:
            return SampleKind::Float32;
        default:
            return SampleKind::Int32;
        }
    }
    return dataType == 1 ? SampleKind::UInt16 : SampleKind::Int16;
}

int WordsOf(SampleKind kind) {
    return kind == SampleKind::Int16 || kind == SampleKind::UInt16 ? 1 : 2;
}
