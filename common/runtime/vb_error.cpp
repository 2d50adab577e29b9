#include "common/runtime/vb_error.h"

#include <new>
#include <utility>

namespace orva {

std::string VbErrorDescription(int number) {
  switch (number) {
    case vberr::kInvalidCall: return "Chiamata di routine o argomento non validi";
    case vberr::kOverflow: return "Overflow";
    case vberr::kOutOfMemory: return "Memoria esaurita";
    case vberr::kSubscriptOutOfRange: return "Indice non incluso nell'intervallo";
    case vberr::kDivisionByZero: return "Divisione per zero";
    case vberr::kTypeMismatch: return "Tipo non corrispondente";
    case vberr::kInternalError: return "Errore interno";
    case vberr::kBadFileName: return "Nome o numero di file non valido";
    case vberr::kFileNotFound: return "Impossibile trovare il file";
    case vberr::kDeviceIoError: return "Errore di I/O periferica";
    case vberr::kDiskFull: return "Disco pieno";
    case vberr::kPermissionDenied: return "Autorizzazione negata";
    case vberr::kPathFileAccessError: return "Errore di accesso al percorso/file";
    case vberr::kPathNotFound: return "Impossibile trovare il percorso";
    case vberr::kObjectNotSet: return "Variabile oggetto o variabile del blocco With non impostata";
    case vberr::kObjectRequired: return "Necessario oggetto";
    case vberr::kNotSupported: return "Proprietà o metodo non supportati dall'oggetto";
    case vberr::kDuplicateKey: return "Questa chiave è già associata ad un elemento di questo insieme";
    default: return {};
  }
}

namespace {
std::string DescriptionOrDefault(int number, std::string description) {
  return description.empty() ? VbErrorDescription(number) : std::move(description);
}
}  // namespace

VbError::VbError(int number, std::string description)
    : std::runtime_error(DescriptionOrDefault(number, description)),
      number_(number),
      description_(DescriptionOrDefault(number, std::move(description))) {}

void RaiseVbError(int number) { throw VbError(number); }

ErrObject ErrFromException(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const VbError& e) {
    return {e.Number(), e.Description()};
  } catch (const std::bad_alloc&) {
    return {vberr::kOutOfMemory, VbErrorDescription(vberr::kOutOfMemory)};
  } catch (const std::exception& e) {
    std::string what = e.what();
    return {vberr::kInternalError, what.empty() ? VbErrorDescription(vberr::kInternalError) : what};
  } catch (...) {
    return {vberr::kInternalError, VbErrorDescription(vberr::kInternalError)};
  }
  return {};
}

}  // namespace orva
