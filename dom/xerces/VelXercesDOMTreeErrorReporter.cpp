#include "dom/xerces/VelXercesDOMTreeErrorReporterInternal.h"

void VelXercesDOMTreeErrorReporter::warning(const xercesc::SAXParseException&) {}

void VelXercesDOMTreeErrorReporter::error(const xercesc::SAXParseException&) { m_sawErrors = true; }

void VelXercesDOMTreeErrorReporter::fatalError(const xercesc::SAXParseException&) { m_sawErrors = true; }

void VelXercesDOMTreeErrorReporter::resetErrors() { m_sawErrors = false; }
