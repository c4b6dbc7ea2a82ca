// The Spanish texts the runtime ships with. Records are found by their code with a quote-aware
// search, so digits inside quoted message texts are never taken for a code; a record ends at the
// first tab outside quotes. Texts are Windows-1252 bytes.
#include "runtime/env/catalog_builtin.h"

#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"

namespace rt {
namespace {

constexpr char kBlock1[] =
    "\t0005 Proceso Completado Satisfactoriamente"
    "\t0007 Datos no Encontrados"
    "\t0008 Precauci\xF3n "
    "\t0009 Error "
    "\t0011 Ss,Nn"
    "\t0012 Mensaje Informativo"
    "\t0013 Alerta de Mensaje Fatal"
    "\t0014 Solicitud de Informaci\xF3n"
    "\t0016 Proceso en progreso....."
    "\t0017 Parametros incorrectos para campo de pantalla%s\r\n (%s)"
    "\t0019 ,.'0123456789,-D',' NS','  ,NO,SI'"
    "\t0020 Cancelar"
    "\t0023 Clave no encontrada,Fin de fichero,,,Clave incorrecta,Clave Repetida,Datos Cambiados. Grabaci\xF3n canceleda,Datos Cambiados. Confirmar,Contrase\xF1" "as no coinciden"
    "\t0024 Modificaci\xF3n de Clave descartada"
    "\t0025 \xBF" "Anular Registro(s)?";

constexpr char kBlock2[] =
    "0040 \xBF" "Desea ver Incidencias?"
    "\t0051 Confirmaci\xF3n de Transacci\xF3n"
    "\t0055 Datos de Transacci\xF3n necesarios"
    "\t0056 'Nombre del Archivo:':'A40'"
    "\t0057 L\xEDmites de Transacci\xF3n"
    "\t0060 Todos (%s),%s"
    "\t0061 Ficheros de Estructura (%s),%s"
    "\t0062 Ficheros de Pantalla (%s),%s"
    "\t0063 Ficheros de Plantilla de Impresi\xF3n (%s),%s"
    "\t0064 Ficheros de Procedimientos (%s),%s"
    "\t0065 Ficheros de Selecci\xF3n de Aplicaci\xF3n (%s),%s"
    "\t0066 Ficheros de Men\xFA (%s),%s"
    "\t0067 Ficheros PDF (%s),%s"
    "\t0068 Ficheros de Texto (%s),%s"
    "\t0075 Acerca de"
    "\t0080 (Mayor que),(Menor que), (Igual a),(Desde),(Hasta),(Distinto de)"
    "\t0085 Selecci\xF3n de Tabla"
    "\t0086 Selecci\xF3n de Campos de Limites"
    "\t0087 Actualizacion Relacional"
    "\t0088 Selecci\xF3n de Fichero";

constexpr char kBlock3[] =
    "0089 Relativa,Secuencial,Delimitada,Listado"
    "\t0090 Acceso a Datos"
    "\t0091 'Servidor:':'A30'::%s,'Base:':'A30'::%s,'Usuario:':'A30'::%s,'Contrase\xF1" "a:':'P30'::%s,'Recordar (S/N):':'L1'"
    "\t0094 'Tipo de Actualizaci\xF3n Relacional:':'N1'"
    "\t0095 'Fichero:':'A255'::'%s','Modo a\xF1" "adir:':'L1'::'1'"
    "\t0096 Selecci\xF3n de Campos"
    "\t0097 \xBFSalvar esta Configuraci\xF3n?"
    "\t0098 Selecci\xF3n de Transacci\xF3n"
    "\t0099 Expresion de Actualizaci\xF3n"
    "\t0100 'Expresion de Actualizaci\xF3n:':'A256'"
    "\t0101 Contados %s registros en %s"
    "\t0117 'Enero,Febrero,Marzo,Abril,Mayo,Junio,Julio,Agosto,Septiembre,Octubre,Noviembre,Diciembre','[D] de [M] de [Y]'"
    // The contact window's own texts: caption, buttons, labels, menus, its About box.
    "\t0200 Quintara de Contactos"
    "\t0201 Nuevo"
    "\t0202 Inicio"
    "\t0203 Anterior"
    "\t0204 Siguiente"
    "\t0205 Ultimo"
    "\t0206 Grabar"
    "\t0207 Borrar"
    "\t0208 RAZON SOCIAL:"
    "\t0209 NOMBRE:"
    "\t0210 DIRECCION:"
    "\t0211 C.P. / POBLACION:"
    "\t0212 TELEFONO:"
    "\t0213 MOVIL:"
    "\t0214 E-MAIL:"
    "\t0215 OTROS:"
    "\t0216 OBSERVACIONES:"
    "\t0217 Marcar Tel\xE9" "fono"
    "\t0218 &Archivo"
    "\t0219 &Exportar"
    "\t0220 &Importar"
    "\t0221 &Standard"
    "\t0222 E&xterno"
    "\t0223 &Salir"
    "\t0224 &Commandos"
    "\t0225 &Nuevo"
    "\t0226 &Inicio"
    "\t0227 &Anterior"
    "\t0228 &Siguiente"
    "\t0229 &Ultimo"
    "\t0230 &Grabar"
    "\t0231 &Borrar"
    "\t0232 A&yuda"
    "\t0233 &Acerca de"
    "\t0234 Acerca de Quintara"
    "\t0235 Quintara Versi\xF3n 1.0"
    "\t0236 Directorio de contactos"
    "\t0237 Aceptar"
    "\t0238 &Acerca de Quintara...";

constexpr StrDesc kBlocks[3] = {S(kBlock1), S(kBlock2), S(kBlock3)};

}  // namespace

StrDesc CatalogBlock(std::uint16_t index) { return index < 3 ? kBlocks[index] : StrEmpty(); }

StrDesc MsgBuiltin(StrDesc code) {
    // A code is four digits; anything shorter cannot name a record.
    if (code.IsError() || code.len < 4) return StrEmpty();
    std::uint16_t block = 0;
    if (StrCompare(code, S("0040")) != 0xFFFF) block = 1;
    if (StrCompare(code, S("0089")) != 0xFFFF) block = 2;
    StrDesc text = kBlocks[block];
    std::uint16_t pos = FindText(text, code, kQuoteAware);
    if (pos == kNone || std::uint32_t(pos) + 5 > text.len) return StrEmpty();
    StrDesc rest = StrMake(text.ptr + pos + 5, static_cast<std::uint16_t>(text.len - pos - 5));
    return Item(rest, '\t', 1);
}

}  // namespace rt
