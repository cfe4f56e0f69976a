#pragma once
// The host's add-in interface: the host creates an add-in object and calls
// these four operations; everything else the add-in does goes through the
// object model it receives at connection.
#include <any>
#include <string>
#include <vector>

namespace host {

class VBE;

enum ext_ConnectMode {
    ext_cm_AfterStartup = 0,
    ext_cm_Startup = 1,
    ext_cm_External = 2,
    ext_cm_CommandLine = 3
};
enum ext_DisconnectMode { ext_dm_HostShutdown = 0, ext_dm_UserClosed = 1 };

// The host's record of one add-in, handed to it at connection.
struct AddIn {
    std::string progId;  // e.g. "pv32.Connect"
    std::string description;
    bool connected = false;
};

using CustomArray = std::vector<std::any>;

class IDTExtensibility {
public:
    virtual ~IDTExtensibility() = default;
    virtual void IDTExtensibility_OnConnection(VBE* application, int connectMode, AddIn* addInInst,
                                               CustomArray& custom) = 0;
    virtual void IDTExtensibility_OnDisconnection(int removeMode, CustomArray& custom) = 0;
    virtual void IDTExtensibility_OnAddInsUpdate(CustomArray& custom) = 0;
    virtual void IDTExtensibility_OnStartupComplete(CustomArray& custom) = 0;
};

}  // namespace host
