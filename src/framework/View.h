// The view side of the document/view base: what a document tells its views.
#pragma once

class CDocument;

// Extra data sent with an update hint (display data, a record name ...); a hint's sender knows
// the concrete type, the receiver casts after checking the hint.
class CUpdateData {
public:
    virtual ~CUpdateData() = default;
};

class IView {
public:
    virtual ~IView() = default;
    virtual void OnUpdate(IView* sender, int hint, const CUpdateData* data) = 0;
};
