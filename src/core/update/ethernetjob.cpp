#include "core/update/ethernetjob.h"

#include <filesystem>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "core/base/xmlfile.h"
#include "core/update/updatefiles.h"
#include "core/update/updateoptions.h"

namespace setforge {

namespace {

// Where a job operation takes its file from.
enum class FileBase { Master, Project };

// One operation of the job: the values that differ between operations.
struct OperationShape {
    bool firmware; // firmware operation (else configuration bank)
    FileBase base;
    const char* fileName; // below MASTER, or below the project's bin folder
    const char* startAddress;
    const char* bankType;
    const char* writeCss;
    const char* addressCss;
};

// The two sections' operations in the order they are written: firmware, bank 1, bank 2.
constexpr OperationShape kMainOperations[] = {
    {true, FileBase::Master, kEthernetFirmwareFile, "0x8000", "1", "1", "0x78100"},
    {false, FileBase::Project, "bank1.bin", "0x68000", "2", "0", "0x50100"},
    {false, FileBase::Project, "bank2.bin", "0x50000", "2", "0", "0x50100"},
};
constexpr OperationShape kEsp32Operations[] = {
    {true, FileBase::Master, kEsp32FirmwareFile, "0x110000", "1", "0", "0x78100"},
    {false, FileBase::Project, "bank1_ESP32.bin", "0x09000", "2", "0", "0x50100"},
    {false, FileBase::Project, "bank2_ESP32.bin", "0x310000", "2", "0", "0x50100"},
};

// The twenty children of an Operation element, in order. A null text is filled per
// operation by the marked field.
enum class OperationField {
    Fixed,
    FileName,
    StartAddress,
    BankType,
    ReadBack,
    WriteCss,
    AddressCss,
    GoToApp
};
struct OperationChild {
    const char* name;
    OperationField field;
    const char* text; // for Fixed
};
constexpr OperationChild kOperationChildren[] = {
    {"Ope_Protection_Enabled", OperationField::Fixed, ""},
    {"Ope_GoToBoot_Before", OperationField::Fixed, "0"},
    {"Ope_GoToApp_Before", OperationField::Fixed, "0"},
    {"Ope_IP_Address", OperationField::Fixed, ""},
    {"Ope_Port", OperationField::Fixed, "2008"},
    {"Ope_Port_Sec", OperationField::Fixed, "2007"},
    {"Ope_Erase_Memory", OperationField::Fixed, "0"},
    {"Ope_FileName", OperationField::FileName, nullptr},
    {"Ope_Start_Address", OperationField::StartAddress, nullptr},
    {"Ope_Memory_Type", OperationField::Fixed, "0"},
    {"Ope_Bank_Type", OperationField::BankType, nullptr},
    {"Ope_Read_Back", OperationField::ReadBack, nullptr},
    {"Ope_Write_CSS", OperationField::WriteCss, nullptr},
    {"Ope_Address_CSS", OperationField::AddressCss, nullptr},
    {"Ope_Command_CSS", OperationField::Fixed, "0x0B"},
    {"Ope_Write_Internal_Data", OperationField::Fixed, "0"},
    {"Ope_WID_Address", OperationField::Fixed, "0x78200"},
    {"Ope_WID_Command", OperationField::Fixed, "0x0B"},
    {"Ope_WID_Data", OperationField::Fixed, ""},
    {"Ope_GoToApp_After", OperationField::GoToApp, nullptr},
};

void appendText(pugi::xml_node parent, const char* name, const std::string& text)
{
    pugi::xml_node child = parent.append_child(name);
    if (!text.empty())
        child.text().set(text.c_str());
}

std::string operationFile(const EthernetJob& job, const OperationShape& op)
{
    const std::string sep(1, job.separator);
    if (op.base == FileBase::Master)
        return job.masterDir + sep + op.fileName;
    return job.projectDir + sep + "bin" + sep + op.fileName;
}

std::string fieldText(const EthernetJob& job, const OperationShape& op, const OperationChild& child,
                      bool last)
{
    switch (child.field) {
    case OperationField::Fixed:
        return child.text;
    case OperationField::FileName:
        return operationFile(job, op);
    case OperationField::StartAddress:
        return op.startAddress;
    case OperationField::BankType:
        return op.bankType;
    case OperationField::ReadBack:
        return job.readBack ? "1" : "0";
    case OperationField::WriteCss:
        return op.writeCss;
    case OperationField::AddressCss:
        return op.addressCss;
    case OperationField::GoToApp:
        // The device returns to its application after the section's last operation only.
        return last ? "1" : "0";
    }
    return {};
}

void appendOperations(pugi::xml_node parent, const EthernetJob& job, const OperationShape (&shapes)[3])
{
    pugi::xml_node operations = parent.append_child("Operations");
    std::vector<const OperationShape*> chosen;
    for (const OperationShape& op : shapes)
        if (op.firmware ? writesFirmware(job.updateOption) : writesConfiguration(job.updateOption))
            chosen.push_back(&op);
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        pugi::xml_node operation = operations.append_child("Operation");
        for (const OperationChild& child : kOperationChildren)
            appendText(operation, child.name, fieldText(job, *chosen[i], child, i + 1 == chosen.size()));
    }
}

} // namespace

EthernetJob makeEthernetJob(std::string ipAddress, int updateOption, bool readBack, std::string masterDir,
                            std::string projectDir)
{
    EthernetJob job;
    job.ipAddress = std::move(ipAddress);
    job.updateOption = updateOption;
    job.readBack = readBack;
    job.masterDir = std::move(masterDir);
    job.projectDir = std::move(projectDir);
    job.separator = static_cast<char>(std::filesystem::path::preferred_separator);
    return job;
}

std::string ethernetJobXml(const EthernetJob& job)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Ethernet_Update");
    appendText(root, "Version", "1000");
    appendText(root, "Title", "Telvora - KX40917 Ethernet Update");
    appendText(root, "IP_Address_Dev", job.ipAddress);
    appendText(root, "Application_Port", "10000");
    appendText(root, "Boot_Port", "2008");
    appendText(root, "Boot_Port_Sec", "2007");
    appendText(root, "Address_Protection", "0x07800");
    appendText(root.append_child("Protections"), "Protection", "0x7");
    appendOperations(root, job, kMainOperations);
    pugi::xml_node esp32 = root.append_child("ESP32");
    appendText(esp32, "Address_Protection", "0x7800");
    appendOperations(esp32, job, kEsp32Operations);
    return serializeXml(doc);
}

Result<void> writeEthernetJob(const EthernetJob& job, std::string_view utf8Path)
{
    return writeFileAtomic(utf8Path, ethernetJobXml(job));
}

} // namespace setforge
