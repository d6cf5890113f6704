#include "lang/TextTables.h"

namespace kelvra
{

TextTables ResetTextTables()
{
    TextTables t;
    t.portBox = {"Voorzijde", "Achterzijde", "Bovenzijde", "Linker zijkant", "Rechter zijkant"};
    t.correctionFact = {"Geen", "Noppenfolie", "Dempingswol"};
    t.messageBox = {"Oude versie van het bestand, toch proberen te laden?",
                    "Niet in Simulatie modus, zet het programma eerst in simulatie modus voor",
                    "De parameters waar er mee gewerkt word",
                    "Somethings wrong, you've got a negative volume",
                    "Your sub is to big for the front plate"};
    t.options = {"Openen", "Opslaan als..."};
    t.portType = {"Ronde", "Rechthoekige"};
    // A language file's values lose their outer blanks, so the blanks around these are the code's.
    t.result = {"Outer Volume:", "Intern Volume:", "Virtueel volume", "Liter"};
    t.print = {"Plaatjes zagen"};
    return t;
}

std::span<std::string> TextTables::table(std::string_view name)
{
    if (name == "PortBox")
        return portBox;
    if (name == "CorrectionFact")
        return correctionFact;
    if (name == "MessageBox")
        return messageBox;
    if (name == "Options")
        return options;
    if (name == "PortType")
        return portType;
    if (name == "Result")
        return result;
    if (name == "Print")
        return print;
    if (name == "Refusal")
        return refusal;
    if (name == "RefusalPhrase")
        return refusalPhrase;
    return {};
}

std::span<const std::string> TextTables::table(std::string_view name) const
{
    return const_cast<TextTables*>(this)->table(name);
}

} // namespace kelvra
