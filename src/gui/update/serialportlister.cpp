#include "gui/update/serialportlister.h"

#include <map>

#include <QSerialPortInfo>

#include "core/update/serialarguments.h"
#include "core/update/serialports.h"
#include "gui/app/qtext.h"

namespace setforge {

std::vector<SerialPortEntry> SystemSerialPortLister::ports()
{
    std::map<std::string, std::string> locations;
    std::vector<std::string> names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        names.push_back(us(info.portName()));
        locations[names.back()] = us(info.systemLocation());
    }
#ifdef Q_OS_WIN
    const bool comOnly = true;
#else
    const bool comOnly = false;
#endif
    std::vector<SerialPortEntry> entries;
    for (const std::string& name : orderPortNames(names, comOnly)) {
#ifdef Q_OS_WIN
        entries.push_back({name, serialPortDevice(name)});
#else
        entries.push_back({name, locations[name]});
#endif
    }
    return entries;
}

} // namespace setforge
