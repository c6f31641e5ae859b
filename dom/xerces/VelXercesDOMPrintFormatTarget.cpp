#include "dom/xerces/VelXercesDOMPrintFormatTargetInternal.h"

void VelXercesDOMPrintFormatTarget::writeChars(const XMLByte* const toWrite, const XMLSize_t count,
                                               xercesc::XMLFormatter* const)
{
    m_out.append(reinterpret_cast<const char*>(toWrite), count);
}

void VelXercesDOMPrintFormatTarget::flush() {}
