#include "ConnectionProfiles.h"

#include <algorithm>

namespace tarvine::qt {
namespace {

// Profiles live in an array, so that any text can be a name (a settings key cannot hold "/").
const QString kProfiles = QStringLiteral("profiles");
const QString kLastUsed = QStringLiteral("lastProfile");

struct Field {
  const char* key;
  std::string ConnectionProfile::*member;
};
constexpr Field kFields[] = {{"name", &ConnectionProfile::name},
                             {"server", &ConnectionProfile::server},
                             {"facility", &ConnectionProfile::facility},
                             {"personId", &ConnectionProfile::personId},
                             {"personType", &ConnectionProfile::personType}};

std::vector<ConnectionProfile> readAll(QSettings& settings) {
  std::vector<ConnectionProfile> profiles;
  const int count = settings.beginReadArray(kProfiles);
  for (int i = 0; i < count; ++i) {
    settings.setArrayIndex(i);
    ConnectionProfile profile;
    for (const Field& field : kFields) {
      profile.*field.member = settings.value(QLatin1String(field.key)).toString().toStdString();
    }
    if (!profile.name.empty()) profiles.push_back(std::move(profile));
  }
  settings.endArray();
  return profiles;
}

void writeAll(QSettings& settings, const std::vector<ConnectionProfile>& profiles) {
  settings.remove(kProfiles);
  settings.beginWriteArray(kProfiles, static_cast<int>(profiles.size()));
  for (int i = 0; i < static_cast<int>(profiles.size()); ++i) {
    settings.setArrayIndex(i);
    for (const Field& field : kFields) {
      settings.setValue(
          QLatin1String(field.key),
          QString::fromStdString(profiles[static_cast<std::size_t>(i)].*field.member));
    }
  }
  settings.endArray();
}

auto named(const std::string& name) {
  return [&name](const ConnectionProfile& profile) { return profile.name == name; };
}

}  // namespace

QSettings hostSettings() {
  return QSettings(QStringLiteral("TarvineOrderPick"), QStringLiteral("host"));
}

std::vector<ConnectionProfile> savedProfiles() {
  QSettings settings = hostSettings();
  std::vector<ConnectionProfile> profiles = readAll(settings);
  const std::string last = settings.value(kLastUsed).toString().toStdString();
  const auto found = std::find_if(profiles.begin(), profiles.end(), named(last));
  if (found != profiles.end()) std::rotate(profiles.begin(), found, found + 1);
  return profiles;
}

std::optional<ConnectionProfile> savedProfile(const std::string& name) {
  QSettings settings = hostSettings();
  const std::vector<ConnectionProfile> profiles = readAll(settings);
  const auto found = std::find_if(profiles.begin(), profiles.end(), named(name));
  if (found == profiles.end()) return std::nullopt;
  return *found;
}

void saveProfile(const ConnectionProfile& profile) {
  QSettings settings = hostSettings();
  std::vector<ConnectionProfile> profiles = readAll(settings);
  const auto found = std::find_if(profiles.begin(), profiles.end(), named(profile.name));
  if (found != profiles.end()) {
    *found = profile;
  } else {
    profiles.push_back(profile);
  }
  writeAll(settings, profiles);
  settings.setValue(kLastUsed, QString::fromStdString(profile.name));
}

void removeProfile(const std::string& name) {
  QSettings settings = hostSettings();
  std::vector<ConnectionProfile> profiles = readAll(settings);
  std::erase_if(profiles, named(name));
  writeAll(settings, profiles);
}

}  // namespace tarvine::qt
