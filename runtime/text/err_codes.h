// Result codes by name: every ErrCode the runtime gives, named after its entry in the error list
// (CamelCase of the list's own name), so no code needs to be read by heart.
#pragma once
#include "runtime/text/str_desc.h"

namespace rt {

enum ErrCodes : ErrCode {
    kOk = 0,
    // 1 to 120 are outcomes of single operations, not errors.
    kStatusOtherKey = 1,     // a read found another key than the one asked for
    kStatusNoRecord = 2,     // no row, end of file
    kStatusNewRecord = 3,    // a new blank record
    kStatusDuplicate = 5,    // a sorted list refused a duplicate
    kStatusDataChanged = 7,  // another user changed the record since it was read
    kStatusLast = 120,       // the highest status
    kErrDetailMessage = 121, // a message whose whole text is the error detail
    // 122 to 127 are never shown; from 122 on a code is a failure.
    kErrFirstFailure = 122,
    kErrCancelled = 122,          // "Cancelado por el usuario"
    kErrNullExpression = 123,     // "Expresion Nula"
    kErrUndefinedWarning = 124,   // "Aviso Indefinido"
    kErrAtypicalType = 125,       // "Tipo Atipico"
    kErrBadData = 126,            // "Datos incorrectos"
    kErrNoData = 127,             // "No hay datos"
    // From 128 on: serious errors, the only ones noted as first error.
    kErrSerious = 128,
    kErrIncompatibleTypes = 128,  // "Tipos Incompatibles"
    kErrLoopFailure = 129,        // "Fallo de loop"
    kErrDiskIo = 130,             // "Disco (I/O)"
    kErrFileIo = 131,             // "Fichero I/O"
    kErrProcedureRun = 132,       // "Ejecución de Procedimiento"
    kErrPrcStckError = 133,
    kErrTransUpError = 134,
    kErrVarHandlError = 135,
    kErrRead = 136,               // "de Lectura"
    kErrWrite = 137,              // "de Escritura"
    kErrOpen = 138,               // "de Apertura"
    kErrNetwork = 139,            // "de Red"
    kErrBadExpresion = 140,
    kErrInternal = 141,           // "Interno"
    kErrFarHeapIniErr = 142,
    kErrScreenEnvironment = 143,  // "de Entorno de Pantalla"
    kErrIndexCmdError = 144,
    kErrOutOfMemory = 145,
    kErrStringTooLong = 146,
    kErrSintaxError = 147,
    kErrFeatureRemoved = 148,
    kErrDimStrucError = 149,
    kErrBadStringType = 150,
    kErrBadFileNumber = 151,
    kErrFormatFailure = 152,
    kErrStrConcatErr = 153,
    kErrMemoryAllocErr = 154,
    kErrExpCalcError = 155,
    kErrLoadStrError = 156,
    kErrVarNameError = 157,
    kErrBadCommandLine = 158,
    kErrStrOutBound = 159,
    kErrMemTestError = 160,
    kErrFileOutBound = 161,
    kErrSqlError = 162,
    kErrData = 163,               // "de Datos"
    kErrFileNotFound = 164,       // "Fichero no encontrado"
    kErrFileExists = 165,         // "Fichero Existente"
    kErrFileOpening = 166,        // "Apertura de Ficheros"
    kErrChildExecError = 167,
    kErrDataOutBound = 168,
    kErrFileNotInit = 169,
    kErrCommonCtlError = 170,
    kErrDeviceTimeout = 171,
    kErrDeviceIoError = 172,
    kErrSystemCmdError = 173,
    kErrUserCheck = 174,          // "Chequeo de usuario"
    kErrPermissionDenied = 175,   // "Permiso denegado"
    kErrStructMemError = 176,
    kErrScreenStructErr = 177,
    kErrMemoryLeaks = 178,
    kErrWindowsControl = 179,     // "Windows Control Error"
    kErrMemoryOverflow = 180,
    kErrVariableScreenField = 181,
    kErrDataExists = 183,         // "Datos Existentes"
    kErrLocalAccessOnly = 184,    // "Solamente Acceso Local"
    kErrGraphicsSupport = 185,    // "Soporte Grafico Insuficiente"
};

}  // namespace rt
