// IPortChooser: the "COM Port" dialog as the connection loop sees it.
#pragma once

class IPortChooser {
public:
    virtual ~IPortChooser() = default;
    // Shows the ports that can be opened now. Returns false on Cancel; on OK, port holds the
    // chosen number, or keeps its value when nothing was selected. The chooser keeps its last
    // choice between showings.
    virtual bool ChoosePort(int& port) = 0;
};
