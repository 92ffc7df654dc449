#include "settings/RegistryException.h"

namespace corvane {

ERegistryException ERegistryException::createFailed(const std::string& key) {
    return ERegistryException("Failed to create key " + key);
}

ERegistryException ERegistryException::setFailed(const std::string& name) {
    return ERegistryException("Failed to set data for '" + name + "'");
}

ERegistryException ERegistryException::getFailed(const std::string& name) {
    return ERegistryException("Failed to get data for '" + name + "'");
}

ERegistryException ERegistryException::invalidType(const std::string& name) {
    return ERegistryException("Invalid data type for '" + name + "'");
}

}  // namespace corvane
