#pragma once

#include "regionalsettings.h"
#include "udm1.h"

#include <memory>

class ProgramLock;
class ShutdownSignals;
class TFFMAIN;
class TFFQRSTSCAD;
class TFMFSCAD;

// The life of the program: start-up in a fixed order (data module with the
// catalogue, then the windows), the message loop until the main window
// closes, and shutdown in the reverse order, the data module last, which
// writes the catalogue back.
class TomarioProgram
{
public:
    struct Options
    {
        QString executablePath;
        RegionalSettings settings = RegionalSettings::fromSystem();
        // Shows a failure to the user; the error box unless a test says otherwise.
        TDM1::Reporter report;
    };

    explicit TomarioProgram(Options options);
    ~TomarioProgram();

    // Creates the data module (which loads the catalogue) and the windows.
    // False, with nothing touched, when another copy runs on the same folder.
    bool start();
    // Shows the main window maximised and runs the message loop; then ends.
    int run();
    // Destroys the windows in reverse order, then the data module, which
    // writes the catalogue.
    void finish();

    TDM1* DM1() const { return m_dm1.get(); }
    TFFMAIN* FFMAIN() const { return m_ffmain.get(); }
    TFMFSCAD* FMFSCAD() const { return m_fmfscad.get(); }
    TFFQRSTSCAD* FFQRSTSCAD() const { return m_ffqrstscad.get(); }

private:
    Options m_options;
    std::unique_ptr<ProgramLock> m_lock;
    std::unique_ptr<ShutdownSignals> m_signals;
    std::unique_ptr<TDM1> m_dm1;
    std::unique_ptr<TFFMAIN> m_ffmain;
    std::unique_ptr<TFMFSCAD> m_fmfscad;
    std::unique_ptr<TFFQRSTSCAD> m_ffqrstscad;
};
