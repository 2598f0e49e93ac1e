// Opening a mapping editor reads its frame table and its mapping file from disk. This measures
// that load for the three editors with large mappings: 512 receive PDO entries (64 PDOs of 8),
// 512 transmit PDO entries (32 PDOs of 16) and 1024 emergency entries (64 emergencies of 16).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "core/base/paths.h"
#include "core/base/xmlfile.h"
#include "core/lang/uitexts.h"
#include "core/mapping/emcyframe.h"
#include "core/mapping/mappingmodel.h"
#include "core/mapping/pdoframe.h"

namespace setforge {

namespace fs = std::filesystem;

namespace {

struct Sizes {
    const MappingFormat* format;
    int frames;
    int entriesPerFrame;
};

const Sizes kReceive{&kReceivePdoMapping, 64, 8};
const Sizes kTransmit{&kTransmitPdoMapping, 32, 16};
const Sizes kEmergency{&kEmergencyMapping, 64, 16};

// The project folder with the six files, written once for the whole run.
class BenchProject {
public:
    BenchProject()
    {
        std::mt19937_64 random(
            static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
        m_dir = fs::temp_directory_path() / ("setforge_bench_mapping_" + std::to_string(random()));
        fs::create_directories(m_dir);
        m_files = makeProjectFiles(pathToUtf8(m_dir));
        writeFrames(
            "rpdodef", kReceive.frames,
            [](pugi::xml_node row, int i) {
                row.append_attribute("cobid") = ("0x" + std::to_string(181 + i)).c_str();
                row.append_attribute("id_dev_orig") = "1";
                row.append_attribute("dimension") = "8";
                row.append_attribute("posind") = "0";
                row.append_attribute("n_tpdo") = "0";
                row.append_attribute("TimeOut") = "100";
                row.append_attribute("Mnemonic") = "Receive";
            },
            m_files.rpdoDef);
        writeFrames(
            "Trasmit_PDO", kTransmit.frames,
            [](pugi::xml_node row, int i) {
                row.append_attribute("COB-ID") = ("0x" + std::to_string(201 + i)).c_str();
                row.append_attribute("Dimension") = "8";
                row.append_attribute("SMA") = "";
                row.append_attribute("OnChange") = "Y";
                row.append_attribute("OnTimer") = "N";
                row.append_attribute("Timer") = "";
                row.append_attribute("Mnemonic") = "Transmit";
            },
            m_files.transmitPdo);
        writeFrames(
            "EMCY", kEmergency.frames,
            [](pugi::xml_node row, int i) {
                row.append_attribute("ID_EMCY") = std::to_string(1 + i).c_str();
                row.append_attribute("EMCY_Error_Code") = "0x8130";
                row.append_attribute("Error_Register") = "0x11";
                row.append_attribute("Mnemonic") = "Emergency";
            },
            m_files.emcyDef);
        for (const Sizes& sizes : {kReceive, kTransmit, kEmergency})
            writeEntries(sizes);
    }
    ~BenchProject()
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    const ProjectFiles& files() const { return m_files; }

private:
    template <typename Fill>
    static void writeFrames(const char* root, int count, Fill fill, const std::string& path)
    {
        pugi::xml_document doc;
        pugi::xml_node table = startTableDocument(doc, root);
        for (int i = 0; i < count; ++i)
            fill(table.append_child("row"), i);
        saveXmlFile(doc, path);
    }

    void writeEntries(const Sizes& sizes) const
    {
        MappingModel model(*sizes.format);
        model.load(m_files);
        const UiTexts texts;
        int index = 0;
        for (int f = 0; f < model.frameCount(); ++f)
            for (int e = 0; e < sizes.entriesPerFrame; ++e, ++index)
                model.addEntry(f, {"0x" + std::to_string(1000 + index), 1 + e % 5, 5 - e % 5, e % 2}, texts);
        model.save(m_files);
    }

    fs::path m_dir;
    ProjectFiles m_files;
};

const BenchProject& project()
{
    static const BenchProject instance;
    return instance;
}

int entryCount(const MappingModel& model)
{
    int count = 0;
    for (int i = 0; i < model.frameCount(); ++i)
        count += static_cast<int>(model.frame(i).entries.size());
    return count;
}

void loadOne(benchmark::State& state, const Sizes& sizes)
{
    MappingModel model(*sizes.format);
    for (auto _ : state) {
        if (!model.load(project().files()))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(model.frameCount());
    }
    state.counters["entries"] = entryCount(model);
}

void BM_LoadReceivePdoMapping(benchmark::State& state)
{
    loadOne(state, kReceive);
}

void BM_LoadTransmitPdoMapping(benchmark::State& state)
{
    loadOne(state, kTransmit);
}

void BM_LoadEmergencyMapping(benchmark::State& state)
{
    loadOne(state, kEmergency);
}

// The three editors one after the other, as when the user opens each once.
void BM_LoadThreeMappingEditors(benchmark::State& state)
{
    MappingModel receive(kReceivePdoMapping);
    MappingModel transmit(kTransmitPdoMapping);
    MappingModel emergency(kEmergencyMapping);
    for (auto _ : state) {
        const bool ok = receive.load(project().files()) && transmit.load(project().files()) &&
                        emergency.load(project().files());
        if (!ok)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(emergency.frameCount());
    }
    state.counters["entries"] = entryCount(receive) + entryCount(transmit) + entryCount(emergency);
}

} // namespace

BENCHMARK(BM_LoadReceivePdoMapping)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadTransmitPdoMapping)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadEmergencyMapping)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadThreeMappingEditors)->Unit(benchmark::kMicrosecond);

} // namespace setforge
