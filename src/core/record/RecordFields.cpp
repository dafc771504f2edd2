#include "core/record/RecordFields.h"

namespace {

// The table is the image's map: each field where the one before it ends, each at its place in FieldId, and the
// last ending where the record does.
constexpr bool TilesTheRecord() {
    int next = 0;
    for (size_t i = 0; i < RecordFields.size(); ++i) {
        const RecordField& f = RecordFields[i];
        if (static_cast<size_t>(f.Id) != i || f.Offset != next)
            return false;
        next = f.Offset + f.Width;
    }
    return next == PersonnelLayout::RecordSize;
}
static_assert(TilesTheRecord());

// Each field has the one member its kind stores, and the entry fields are 1 to 22, each once.
constexpr bool MembersAndEntriesAgree() {
    std::array<int, 23> seen{};
    for (const RecordField& f : RecordFields) {
        const bool text = f.Kind == FieldKind::Text;
        const bool day = f.Kind == FieldKind::Stamp || f.Kind == FieldKind::Date;
        if ((f.Text != nullptr) != text || (f.Day != nullptr) != day || (f.Whole != nullptr) != (!text && !day))
            return false;
        if (f.FormIndex < 0 || f.FormIndex >= int(seen.size()))
            return false;
        ++seen[size_t(f.FormIndex)];
    }
    for (size_t i = 1; i < seen.size(); ++i)
        if (seen[i] != 1)
            return false;
    return true;
}
static_assert(MembersAndEntriesAgree());

} // namespace

const QList<const RecordField*>& FormFields() {
    static const QList<const RecordField*> fields = [] {
        QList<const RecordField*> byIndex(22);
        for (const RecordField& f : RecordFields)
            if (f.FormIndex > 0)
                byIndex[f.FormIndex - 1] = &f;
        return byIndex;
    }();
    return fields;
}

const RecordField* FormField(int index) {
    return index >= 1 && index <= FormFields().size() ? FormFields()[index - 1] : nullptr;
}
