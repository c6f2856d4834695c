// Any bytes as a SIDI answer or request: the decoder may refuse them with a
// SoapError, but must never crash, hang or throw anything else.
#include "TestTypes.h"

#include <EstraiCodicePrenotazioneWSTrs.h>
#include <SoapDecoder.h>
#include <SoapError.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        sidi::SoapDecoder decoder(bytes);
        const sidi::Operation *operations[] = {
            &sidi::EstraiCodicePrenotazioneWSTrs::getCodicePrenotazione(),
            &testtypes::leggiModalitaOperativaScuola(),
            &testtypes::ricercaPluriclasse(),
            &testtypes::estraiSidiAnagrafeAlunni(),
        };
        for (const sidi::Operation *op : operations) {
            try {
                decoder.result(*op);
            } catch (const sidi::SoapError &) {
            }
            try {
                decoder.parameters(*op);
            } catch (const sidi::SoapError &) {
            }
        }
    } catch (const sidi::SoapError &) {
    }
    return 0;
}
