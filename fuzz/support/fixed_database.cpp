// The small fixed database the expression targets work on: base and derived quantities, units
// with offsets and symbols, definitions through chains of 40, cycles, broken and trap
// definitions, exponents above 9, a unit left behind by a removed quantity, and four unit
// systems (two consistent ones, one with no preferred units, one with odd choices).
#include "fixed_database.h"

namespace kestrum::fuzz {

namespace {

constexpr std::string_view kFixedDatabase = R"xml(
<?xml version="1.0" standalone="yes"?>
<UNITS_DATABASE>
	<QUANTITIES>
		<QUANTITY NAME = "Mass" KG = "1"/>
		<QUANTITY NAME = "Length" M = "1">
			<SYNONYM>Distance</SYNONYM>
		</QUANTITY>
		<QUANTITY NAME = "Time" S = "1">
			<SYNONYM>Duration</SYNONYM>
		</QUANTITY>
		<QUANTITY NAME = "Electric_Current" A = "1"/>
		<QUANTITY NAME = "Temperature" K = "1"/>
		<QUANTITY NAME = "Amount" MOL = "1"/>
		<QUANTITY NAME = "Luminous_Intensity" CD = "1"/>
		<QUANTITY NAME = "Plane_Angle" RAD = "1"/>
		<QUANTITY NAME = "Solid_Angle" SR = "1"/>
		<QUANTITY NAME = "Money" DOLLAR = "1"/>
		<QUANTITY NAME = "Ratio"/>
		<QUANTITY NAME = "Velocity" EXPRESSION = "Length/Time"/>
		<QUANTITY NAME = "Acceleration" EXPRESSION = "Velocity/Time"/>
		<QUANTITY NAME = "Force" EXPRESSION = "Mass*Acceleration"/>
		<QUANTITY NAME = "Energy" EXPRESSION = "Force*Length"/>
		<QUANTITY NAME = "Power" EXPRESSION = "Energy/Time"/>
		<QUANTITY NAME = "Area" EXPRESSION = "Length^2"/>
		<QUANTITY NAME = "Volume" EXPRESSION = "Area*Length"/>
		<QUANTITY NAME = "Frequency" EXPRESSION = "1/Time"/>
		<QUANTITY NAME = "Pressure" EXPRESSION = "Force/Area"/>
		<QUANTITY NAME = "Heat_Transfer_Coefficient" EXPRESSION = "Power/(Area*Temperature)"/>
		<QUANTITY NAME = "Loop" EXPRESSION = "Loop*Length"/>
		<QUANTITY NAME = "P" EXPRESSION = "Q/Time"/>
		<QUANTITY NAME = "Q" EXPRESSION = "(P*Length)"/>
		<QUANTITY NAME = "Broken" EXPRESSION = "Nowhere*Length"/>
		<QUANTITY NAME = "Trap" EXPRESSION = "Length^*Time"/>
		<QUANTITY NAME = "Chain0" EXPRESSION = "Length"/>
		<QUANTITY NAME = "Chain1" EXPRESSION = "Chain0*Time/Time"/>
		<QUANTITY NAME = "Chain2" EXPRESSION = "Chain1*Time/Time"/>
		<QUANTITY NAME = "Chain3" EXPRESSION = "Chain2*Time/Time"/>
		<QUANTITY NAME = "Chain4" EXPRESSION = "Chain3*Time/Time"/>
		<QUANTITY NAME = "Chain5" EXPRESSION = "Chain4*Time/Time"/>
		<QUANTITY NAME = "Chain6" EXPRESSION = "Chain5*Time/Time"/>
		<QUANTITY NAME = "Chain7" EXPRESSION = "Chain6*Time/Time"/>
		<QUANTITY NAME = "Chain8" EXPRESSION = "Chain7*Time/Time"/>
		<QUANTITY NAME = "Chain9" EXPRESSION = "Chain8*Time/Time"/>
		<QUANTITY NAME = "Chain10" EXPRESSION = "Chain9*Time/Time"/>
		<QUANTITY NAME = "Chain11" EXPRESSION = "Chain10*Time/Time"/>
		<QUANTITY NAME = "Chain12" EXPRESSION = "Chain11*Time/Time"/>
		<QUANTITY NAME = "Chain13" EXPRESSION = "Chain12*Time/Time"/>
		<QUANTITY NAME = "Chain14" EXPRESSION = "Chain13*Time/Time"/>
		<QUANTITY NAME = "Chain15" EXPRESSION = "Chain14*Time/Time"/>
		<QUANTITY NAME = "Chain16" EXPRESSION = "Chain15*Time/Time"/>
		<QUANTITY NAME = "Chain17" EXPRESSION = "Chain16*Time/Time"/>
		<QUANTITY NAME = "Chain18" EXPRESSION = "Chain17*Time/Time"/>
		<QUANTITY NAME = "Chain19" EXPRESSION = "Chain18*Time/Time"/>
		<QUANTITY NAME = "Chain20" EXPRESSION = "Chain19*Time/Time"/>
		<QUANTITY NAME = "Chain21" EXPRESSION = "Chain20*Time/Time"/>
		<QUANTITY NAME = "Chain22" EXPRESSION = "Chain21*Time/Time"/>
		<QUANTITY NAME = "Chain23" EXPRESSION = "Chain22*Time/Time"/>
		<QUANTITY NAME = "Chain24" EXPRESSION = "Chain23*Time/Time"/>
		<QUANTITY NAME = "Chain25" EXPRESSION = "Chain24*Time/Time"/>
		<QUANTITY NAME = "Chain26" EXPRESSION = "Chain25*Time/Time"/>
		<QUANTITY NAME = "Chain27" EXPRESSION = "Chain26*Time/Time"/>
		<QUANTITY NAME = "Chain28" EXPRESSION = "Chain27*Time/Time"/>
		<QUANTITY NAME = "Chain29" EXPRESSION = "Chain28*Time/Time"/>
		<QUANTITY NAME = "Chain30" EXPRESSION = "Chain29*Time/Time"/>
		<QUANTITY NAME = "Chain31" EXPRESSION = "Chain30*Time/Time"/>
		<QUANTITY NAME = "Chain32" EXPRESSION = "Chain31*Time/Time"/>
		<QUANTITY NAME = "Chain33" EXPRESSION = "Chain32*Time/Time"/>
		<QUANTITY NAME = "Chain34" EXPRESSION = "Chain33*Time/Time"/>
		<QUANTITY NAME = "Chain35" EXPRESSION = "Chain34*Time/Time"/>
		<QUANTITY NAME = "Chain36" EXPRESSION = "Chain35*Time/Time"/>
		<QUANTITY NAME = "Chain37" EXPRESSION = "Chain36*Time/Time"/>
		<QUANTITY NAME = "Chain38" EXPRESSION = "Chain37*Time/Time"/>
		<QUANTITY NAME = "Chain39" EXPRESSION = "Chain38*Time/Time"/>
		<QUANTITY NAME = "Chain40" EXPRESSION = "Chain39*Time/Time"/>
		<QUANTITY NAME = "Rate" S = "-1"/>
		<QUANTITY NAME = "Hyper" M = "12"/>
		<QUANTITY NAME = "Gone" KG = "1"/>
		<QUANTITY NAME = "Y"/>
		<QUANTITY NAME = "Z"/>
	</QUANTITIES>
	<UNITS>
		<UNIT NAME = "kg" QUANTITY = "Mass" CONVERSION_FACTOR = "1."/>
		<UNIT NAME = "g" QUANTITY = "Mass" EXPRESSION = "kg/1000"/>
		<UNIT NAME = "lb" QUANTITY = "Mass" CONVERSION_FACTOR = "0.45359237"/>
		<UNIT NAME = "m" QUANTITY = "Length" CONVERSION_FACTOR = "1.">
			<SYNONYM>metre</SYNONYM>
			<SYNONYM>Meter</SYNONYM>
		</UNIT>
		<UNIT NAME = "km" QUANTITY = "Length" EXPRESSION = "1000*m"/>
		<UNIT NAME = "cm" QUANTITY = "Length" EXPRESSION = "m/100"/>
		<UNIT NAME = "ft" QUANTITY = "Length" CONVERSION_FACTOR = "0.3048"/>
		<UNIT NAME = "in" QUANTITY = "Length" EXPRESSION = "ft/12"/>
		<UNIT NAME = "mi" QUANTITY = "Length" EXPRESSION = "5280*ft"/>
		<UNIT NAME = "s" QUANTITY = "Time" CONVERSION_FACTOR = "1."/>
		<UNIT NAME = "min" QUANTITY = "Time" EXPRESSION = "60*s"/>
		<UNIT NAME = "h" QUANTITY = "Time" EXPRESSION = "60*min">
			<SYNONYM>hr</SYNONYM>
		</UNIT>
		<UNIT NAME = "K" QUANTITY = "Temperature" CONVERSION_FACTOR = "1."/>
		<UNIT NAME = "degC" QUANTITY = "Temperature" CONVERSION_FACTOR = "1." CONVERSION_OFFSET = "273.15" SYMBOL = "°C"/>
		<UNIT NAME = "degF" QUANTITY = "Temperature" CONVERSION_FACTOR = "0.55555555555555558" CONVERSION_OFFSET = "255.37222222222223" SYMBOL = "°F"/>
		<UNIT NAME = "degR" QUANTITY = "Temperature" EXPRESSION = "5/9*K"/>
		<UNIT NAME = "A" QUANTITY = "Electric_Current" CONVERSION_FACTOR = "1."/>
		<UNIT NAME = "mol" QUANTITY = "Amount" CONVERSION_FACTOR = "1."/>
		<UNIT NAME = "cd" QUANTITY = "Luminous_Intensity" CONVERSION_FACTOR = "1."/>
		<UNIT NAME = "rad" QUANTITY = "Plane_Angle" CONVERSION_FACTOR = "1."/>
		<UNIT NAME = "deg" QUANTITY = "Plane_Angle" EXPRESSION = "rad*3.14159265358979/180" SYMBOL = "°"/>
		<UNIT NAME = "sr" QUANTITY = "Solid_Angle" CONVERSION_FACTOR = "1."/>
		<UNIT NAME = "USD" QUANTITY = "Money" CONVERSION_FACTOR = "1." SYMBOL = "$"/>
		<UNIT NAME = "EUR" QUANTITY = "Money" CONVERSION_FACTOR = "1.08" SYMBOL = "€"/>
		<UNIT NAME = "J" QUANTITY = "Energy" EXPRESSION = "kg*m^2/s^2"/>
		<UNIT NAME = "W" QUANTITY = "Power" EXPRESSION = "J/s"/>
		<UNIT NAME = "kW" QUANTITY = "Power" EXPRESSION = "1000*W"/>
		<UNIT NAME = "N" QUANTITY = "Force" EXPRESSION = "kg*m/s^2"/>
		<UNIT NAME = "lbf" QUANTITY = "Force" EXPRESSION = "lb*9.80665*m/s^2"/>
		<UNIT NAME = "Pa" QUANTITY = "Pressure" EXPRESSION = "N/m^2"/>
		<UNIT NAME = "psi" QUANTITY = "Pressure" EXPRESSION = "lbf/in^2"/>
		<UNIT NAME = "btu" QUANTITY = "Energy" CONVERSION_FACTOR = "1055.05585262"/>
		<UNIT NAME = "btu_per_h" QUANTITY = "Power" EXPRESSION = "btu/h"/>
		<UNIT NAME = "htc_si" QUANTITY = "Heat_Transfer_Coefficient" EXPRESSION = "W/(m^2*K)"/>
		<UNIT NAME = "htc_en" QUANTITY = "Heat_Transfer_Coefficient" EXPRESSION = "btu/(h*ft^2*degF)"/>
		<UNIT NAME = "kph" QUANTITY = "Velocity" EXPRESSION = "km/h"/>
		<UNIT NAME = "mph" QUANTITY = "Velocity" EXPRESSION = "mi/h"/>
		<UNIT NAME = "m2" QUANTITY = "Area" EXPRESSION = "m^2"/>
		<UNIT NAME = "L" QUANTITY = "Volume" EXPRESSION = "(cm^3)*1000"/>
		<UNIT NAME = "gal" QUANTITY = "Volume" CONVERSION_FACTOR = "3.785411784e-003"/>
		<UNIT NAME = "Hz" QUANTITY = "Frequency" EXPRESSION = "1/s"/>
		<UNIT NAME = "pct" QUANTITY = "Ratio" CONVERSION_FACTOR = "0.01" SYMBOL = "%"/>
		<UNIT NAME = "m12" QUANTITY = "Hyper" EXPRESSION = "(m^12)"/>
		<UNIT NAME = "inverse" QUANTITY = "Rate" EXPRESSION = "(m^-1)"/>
		<UNIT NAME = "self" QUANTITY = "Length" EXPRESSION = "2*self"/>
		<UNIT NAME = "ua" QUANTITY = "Length" EXPRESSION = "ub"/>
		<UNIT NAME = "ub" QUANTITY = "Length" EXPRESSION = "uc*2"/>
		<UNIT NAME = "uc" QUANTITY = "Length" EXPRESSION = "(ua*m)"/>
		<UNIT NAME = "broken" QUANTITY = "Length" EXPRESSION = "nowhere*m"/>
		<UNIT NAME = "zero" QUANTITY = "Length" CONVERSION_FACTOR = "0."/>
		<UNIT NAME = "undefined" QUANTITY = "Length" CONVERSION_FACTOR = "-99999999"/>
		<UNIT NAME = "trap" QUANTITY = "Length" EXPRESSION = "m^*s"/>
		<UNIT NAME = "u0" QUANTITY = "Length" EXPRESSION = "m"/>
		<UNIT NAME = "u1" QUANTITY = "Length" EXPRESSION = "u0*1.001"/>
		<UNIT NAME = "u2" QUANTITY = "Length" EXPRESSION = "u1*1.001"/>
		<UNIT NAME = "u3" QUANTITY = "Length" EXPRESSION = "u2*1.001"/>
		<UNIT NAME = "u4" QUANTITY = "Length" EXPRESSION = "u3*1.001"/>
		<UNIT NAME = "u5" QUANTITY = "Length" EXPRESSION = "u4*1.001"/>
		<UNIT NAME = "u6" QUANTITY = "Length" EXPRESSION = "u5*1.001"/>
		<UNIT NAME = "u7" QUANTITY = "Length" EXPRESSION = "u6*1.001"/>
		<UNIT NAME = "u8" QUANTITY = "Length" EXPRESSION = "u7*1.001"/>
		<UNIT NAME = "u9" QUANTITY = "Length" EXPRESSION = "u8*1.001"/>
		<UNIT NAME = "u10" QUANTITY = "Length" EXPRESSION = "u9*1.001"/>
		<UNIT NAME = "u11" QUANTITY = "Length" EXPRESSION = "u10*1.001"/>
		<UNIT NAME = "u12" QUANTITY = "Length" EXPRESSION = "u11*1.001"/>
		<UNIT NAME = "u13" QUANTITY = "Length" EXPRESSION = "u12*1.001"/>
		<UNIT NAME = "u14" QUANTITY = "Length" EXPRESSION = "u13*1.001"/>
		<UNIT NAME = "u15" QUANTITY = "Length" EXPRESSION = "u14*1.001"/>
		<UNIT NAME = "u16" QUANTITY = "Length" EXPRESSION = "u15*1.001"/>
		<UNIT NAME = "u17" QUANTITY = "Length" EXPRESSION = "u16*1.001"/>
		<UNIT NAME = "u18" QUANTITY = "Length" EXPRESSION = "u17*1.001"/>
		<UNIT NAME = "u19" QUANTITY = "Length" EXPRESSION = "u18*1.001"/>
		<UNIT NAME = "u20" QUANTITY = "Length" EXPRESSION = "u19*1.001"/>
		<UNIT NAME = "u21" QUANTITY = "Length" EXPRESSION = "u20*1.001"/>
		<UNIT NAME = "u22" QUANTITY = "Length" EXPRESSION = "u21*1.001"/>
		<UNIT NAME = "u23" QUANTITY = "Length" EXPRESSION = "u22*1.001"/>
		<UNIT NAME = "u24" QUANTITY = "Length" EXPRESSION = "u23*1.001"/>
		<UNIT NAME = "u25" QUANTITY = "Length" EXPRESSION = "u24*1.001"/>
		<UNIT NAME = "u26" QUANTITY = "Length" EXPRESSION = "u25*1.001"/>
		<UNIT NAME = "u27" QUANTITY = "Length" EXPRESSION = "u26*1.001"/>
		<UNIT NAME = "u28" QUANTITY = "Length" EXPRESSION = "u27*1.001"/>
		<UNIT NAME = "u29" QUANTITY = "Length" EXPRESSION = "u28*1.001"/>
		<UNIT NAME = "u30" QUANTITY = "Length" EXPRESSION = "u29*1.001"/>
		<UNIT NAME = "u31" QUANTITY = "Length" EXPRESSION = "u30*1.001"/>
		<UNIT NAME = "u32" QUANTITY = "Length" EXPRESSION = "u31*1.001"/>
		<UNIT NAME = "u33" QUANTITY = "Length" EXPRESSION = "u32*1.001"/>
		<UNIT NAME = "u34" QUANTITY = "Length" EXPRESSION = "u33*1.001"/>
		<UNIT NAME = "u35" QUANTITY = "Length" EXPRESSION = "u34*1.001"/>
		<UNIT NAME = "u36" QUANTITY = "Length" EXPRESSION = "u35*1.001"/>
		<UNIT NAME = "u37" QUANTITY = "Length" EXPRESSION = "u36*1.001"/>
		<UNIT NAME = "u38" QUANTITY = "Length" EXPRESSION = "u37*1.001"/>
		<UNIT NAME = "u39" QUANTITY = "Length" EXPRESSION = "u38*1.001"/>
		<UNIT NAME = "u40" QUANTITY = "Length" EXPRESSION = "u39*1.001"/>
		<UNIT NAME = "a&amp;b" QUANTITY = "Length" CONVERSION_FACTOR = "2." SYMBOL = "&lt;&amp;&gt;"/>
		<UNIT NAME = "tabbed" QUANTITY = "Length" CONVERSION_FACTOR = "3." SYMBOL = "x&#9;y"/>
		<UNIT NAME = "X" QUANTITY = "Length" CONVERSION_FACTOR = "1."/>
		<UNIT NAME = "orphan" QUANTITY = "Gone" CONVERSION_FACTOR = "3."/>
	</UNITS>
	<UNIT_SYSTEMS>
		<UNIT_SYSTEM NAME = "SI">
			<UNIT_SYSTEM_QTY NAME = "Mass" PREFERRED_UNIT = "kg"/>
			<UNIT_SYSTEM_QTY NAME = "Length" PREFERRED_UNIT = "m"/>
			<UNIT_SYSTEM_QTY NAME = "Time" PREFERRED_UNIT = "s"/>
			<UNIT_SYSTEM_QTY NAME = "Electric_Current" PREFERRED_UNIT = "A"/>
			<UNIT_SYSTEM_QTY NAME = "Temperature" PREFERRED_UNIT = "K"/>
			<UNIT_SYSTEM_QTY NAME = "Amount" PREFERRED_UNIT = "mol"/>
			<UNIT_SYSTEM_QTY NAME = "Luminous_Intensity" PREFERRED_UNIT = "cd"/>
			<UNIT_SYSTEM_QTY NAME = "Plane_Angle" PREFERRED_UNIT = "rad"/>
			<UNIT_SYSTEM_QTY NAME = "Solid_Angle" PREFERRED_UNIT = "sr"/>
			<UNIT_SYSTEM_QTY NAME = "Money" PREFERRED_UNIT = "USD"/>
			<UNIT_SYSTEM_QTY NAME = "Energy" PREFERRED_UNIT = "J"/>
			<UNIT_SYSTEM_QTY NAME = "Power" PREFERRED_UNIT = "W"/>
			<UNIT_SYSTEM_QTY NAME = "Pressure" PREFERRED_UNIT = "Pa"/>
			<UNIT_SYSTEM_QTY NAME = "Force" PREFERRED_UNIT = "N"/>
			<UNIT_SYSTEM_QTY NAME = "Frequency" PREFERRED_UNIT = "Hz"/>
		</UNIT_SYSTEM>
		<UNIT_SYSTEM NAME = "English">
			<UNIT_SYSTEM_QTY NAME = "Mass" PREFERRED_UNIT = "lb"/>
			<UNIT_SYSTEM_QTY NAME = "Length" PREFERRED_UNIT = "ft"/>
			<UNIT_SYSTEM_QTY NAME = "Time" PREFERRED_UNIT = "h"/>
			<UNIT_SYSTEM_QTY NAME = "Electric_Current" PREFERRED_UNIT = "A"/>
			<UNIT_SYSTEM_QTY NAME = "Temperature" PREFERRED_UNIT = "degF"/>
			<UNIT_SYSTEM_QTY NAME = "Amount" PREFERRED_UNIT = "mol"/>
			<UNIT_SYSTEM_QTY NAME = "Luminous_Intensity" PREFERRED_UNIT = "cd"/>
			<UNIT_SYSTEM_QTY NAME = "Plane_Angle" PREFERRED_UNIT = "deg"/>
			<UNIT_SYSTEM_QTY NAME = "Solid_Angle" PREFERRED_UNIT = "sr"/>
			<UNIT_SYSTEM_QTY NAME = "Money" PREFERRED_UNIT = "USD"/>
			<UNIT_SYSTEM_QTY NAME = "Energy" PREFERRED_UNIT = "btu"/>
			<UNIT_SYSTEM_QTY NAME = "Power" PREFERRED_UNIT = "btu_per_h"/>
			<UNIT_SYSTEM_QTY NAME = "Pressure" PREFERRED_UNIT = "psi"/>
			<UNIT_SYSTEM_QTY NAME = "Force" PREFERRED_UNIT = "lbf"/>
			<UNIT_SYSTEM_QTY NAME = "Velocity" PREFERRED_UNIT = "mph"/>
			<UNIT_SYSTEM_QTY NAME = "Volume" PREFERRED_UNIT = "gal"/>
		</UNIT_SYSTEM>
		<UNIT_SYSTEM NAME = "Bare">
		</UNIT_SYSTEM>
		<UNIT_SYSTEM NAME = "Odd">
			<UNIT_SYSTEM_QTY NAME = "Length" PREFERRED_UNIT = "degC"/>
			<UNIT_SYSTEM_QTY NAME = "Time" PREFERRED_UNIT = "zero"/>
			<UNIT_SYSTEM_QTY NAME = "Mass" PREFERRED_UNIT = "undefined"/>
			<UNIT_SYSTEM_QTY NAME = "Temperature" PREFERRED_UNIT = "self"/>
			<UNIT_SYSTEM_QTY NAME = "Velocity" PREFERRED_UNIT = "orphan"/>
			<UNIT_SYSTEM_QTY NAME = "Money" PREFERRED_UNIT = "a&amp;b"/>
		</UNIT_SYSTEM>
	</UNIT_SYSTEMS>
</UNITS_DATABASE>)xml";

}  // namespace

void loadFixedDatabase(Engine& e, const ScratchDir& dir) {
    const std::string path = dir.file("fixed.xml");
    // The raw string starts with a line break, which may not come before the declaration.
    writeBytes(path, kFixedDatabase.substr(1));
    const Result rc = e.ReadUnitDatabase(path, OVERWRITE);
    KESTRUM_FUZZ_CHECK(rc == S_OK, "the fixed database does not load: " + codeText(rc));
    KESTRUM_FUZZ_CHECK(e.Quantity_Remove("Gone") == S_OK, "the fixed database has no quantity Gone");
}

}  // namespace kestrum::fuzz
