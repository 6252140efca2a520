#pragma once
// The install program writer: turns a project into one installation program (runtime
// image, records, file table, data section, and follow-on volumes when the output disk
// is removable and too small), or into the test program of the wizard test.
#include <cstdint>
#include <memory>
#include <string>

#include "build/BuildHost.h"
#include "build/Volumes.h"
#include "model/Data.h"

namespace sw {

class CBuilder {
public:
    // volumes: where the output goes; null means this machine's disks.
    explicit CBuilder(IBuildHost& host, IVolumeSystem* volumes = nullptr);
    ~CBuilder();

    // Builds data.m_strOutputFile. The outcome is in the report, the messages and the
    // output file; a cancelled or failed build leaves no output file behind (unless
    // follow-on volumes were already written, which are then all kept). Returns true when
    // the installation program was written whole.
    bool Build(const CData& data, IBuildReport& report);

    // Writes the test program (runtime, project records, REC_TEST_PAGE, an empty end
    // record) to path. startPage: the text group of the page to start at, or -1 for the
    // whole wizard. Returns true when the program was written and may be started.
    bool TestWizard(const CData& data, const std::string& path, int startPage, int runtimeId = 500);

private:
    class CRun;

    IBuildHost& m_host;
    std::unique_ptr<IVolumeSystem> m_ownVolumes;
    IVolumeSystem& m_volumes;
};

// The name of follow-on volume n: the output's extension (from its last dot) replaced by
// ".D01", ".D02", ...; a name without a dot gets the suffix appended.
std::string VolumeName(const std::string& outputPath, int number);

}  // namespace sw
