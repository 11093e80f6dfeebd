// Who carries out the menu commands and decides whether they are enabled and checked.
#pragma once

class ICommandHandler {
public:
    virtual ~ICommandHandler() = default;
    virtual void OnCommand(int id) = 0;
    virtual bool IsCommandEnabled(int id) const = 0;
    virtual bool IsCommandChecked(int id) const = 0;
};
