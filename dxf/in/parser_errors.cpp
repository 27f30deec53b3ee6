// dxf/in/parser_errors.cpp: the exceptions of the DXF parser and the message of each error
// number: 1 to 14 have consecutive message ids from 10, 15 has id 34, anything else id 10.
#include <veltcore/dxf/in/parser.h>

#include "database/int32_cast.h"

using veltcore::detail::toInt32;

namespace {

unsigned long messageId(long number) {
  if (number >= 1 && number <= 14) return static_cast<unsigned long>(number + 9);
  if (number == 15) return 34;
  return 10;  // "unknown error"
}

}  // namespace

CFileDXFIParser::FileDXFException::FileDXFException(const String& file, long number, long line,
                                                    long param1, long param2)
    : file_(file),
      number_(toInt32(number)),
      line_(toInt32(line)),
      param1_(toInt32(param1)),
      param2_(toInt32(param2)) {}

String CFileDXFIParser::FileDXFException::getErrorMessage() const {
  String message;
  message.LoadString(messageId(number_));
  return message;
}

CFileDXFIParser::ReqAttrNotSpecifiedParserError::ReqAttrNotSpecifiedParserError(long kind,
                                                                                long mask)
    : kind_(toInt32(kind)), mask_(toInt32(mask)) {}
